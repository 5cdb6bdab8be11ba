#include "app/TCsvExport.h"

#include "foundation/Conversions.h"
#include "foundation/DateTime.h"
#include "foundation/EKanmuriError.h"
#include "foundation/TQuery.h"
#include "store/HojituGrid.h"
#include "store/THojituLine4.h"

#include <QDir>
#include <QSaveFile>

namespace {

QString Field(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r') && text.trimmed() == text)
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString Line(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& f : fields)
        quoted << Field(f);
    return quoted.join(u',') + QStringLiteral("\r\n");
}

// A typed text that a spreadsheet program would run as a formula
// ("=HYPERLINK(...)", "@SUM(...)", "-2+3") opens as that text instead: the
// leading apostrophe makes the cell text and is not shown.
QString AsText(const QString& text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        return u'\'' + text;
    return text;
}

} // namespace

QString TCsvExport::FileName(const QString& kojiCode, const QString& gozai,
                             const QString& extension)
{
    QString name = kojiCode + u'_' + gozai + u'.' + extension;
    for (QChar& c : name)
        if (QStringLiteral("\\/:*?\"<>|").contains(c))
            c = u'_';
    return name;
}

QStringList TCsvExport::Headings()
{
    using namespace HojituGrid;
    QStringList headings = {QStringLiteral("舗設日"), QStringLiteral("工種名"),
                            QStringLiteral("測点"), QStringLiteral("延長"), QStringLiteral("幅員")};
    for (int position = FirstGridPosition; position <= LastPosition; ++position) {
        const TCell cell = EntryCell(position);
        QString group;
        for (const TGroup& g : Groups())
            if (cell.Col >= g.FirstCol && cell.Col < g.FirstCol + g.Cols)
                group = g.Caption;
        headings << QStringLiteral("%1%2(%3)")
                        .arg(group, ColumnHeadings()[cell.Col - 1],
                             RowLabels()[cell.Row - FirstEntryRow]);
    }
    return headings;
}

QByteArray TCsvExport::Days(const QString& kojiCode, const QString& kosyu, const QString& gozai,
                            bool perMixture)
{
    QStringList columns;
    for (int position = 0; position < THojituLine4::ValueCount; ++position)
        columns << QStringLiteral("HojituLine4.") + THojituLine4::Column(position);
    QString sql = QStringLiteral("select HojituLine4.HIDUKE, HojituHead4.KOSYUMEI, "
                                 "HojituLine4.SOKUTEN, ") +
                  columns.join(QStringLiteral(", ")) +
                  QStringLiteral(" from HojituLine4 inner join HojituHead4 on "
                                 "HojituHead4.ID = HojituLine4.SID where "
                                 "(HojituHead4.KOJICODE = :KojiCode) and "
                                 "(HojituHead4.GOZAIMEI = :Gozaimei)");
    if (!perMixture)
        sql += QStringLiteral(" and (HojituHead4.KOSYUMEI = :Kosyumei)");
    sql += QStringLiteral(" order by HojituLine4.HIDUKE, HojituHead4.ID");
    TQuery query(sql);
    query.BindText(QStringLiteral(":KojiCode"), kojiCode)
        .BindText(QStringLiteral(":Gozaimei"), gozai);
    if (!perMixture)
        query.BindText(QStringLiteral(":Kosyumei"), kosyu);
    query.Exec();

    QString text;
    bool any = false;
    while (query.Next()) {
        any = true;
        QStringList fields = {FormatDate(SqlTextToDateTime(query.Value(0).toString())),
                              AsText(query.Value(1).toString()), AsText(query.Value(2).toString())};
        for (int position = 0; position < THojituLine4::ValueCount; ++position)
            fields << FormatGeneral(query.Value(3 + position).toDouble());
        text += Line(fields);
    }
    if (!any)
        return QByteArray();
    return QByteArrayLiteral("\xEF\xBB\xBF") + (Line(Headings()) + text).toUtf8();
}

QString TCsvExport::NoDaysText(const QString& kojiCode, const QString& kosyu, const QString& gozai,
                               bool perMixture)
{
    return QStringLiteral("工事コード \"%1\"、%2合材名 \"%3\" の舗設実績がありません。")
        .arg(kojiCode, perMixture ? QString() : QStringLiteral("工種名 \"%1\"、").arg(kosyu),
             gozai);
}

void TCsvExport::Write(const QString& kojiCode, const QString& kosyu, const QString& gozai,
                       bool perMixture, const QString& file)
{
    const QByteArray csv = Days(kojiCode, kosyu, gozai, perMixture);
    if (csv.isEmpty())
        throw EKanmuriError(NoDaysText(kojiCode, kosyu, gozai, perMixture));
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(csv) != csv.size() || !out.commit())
        throw EKanmuriError(QStringLiteral("ファイル \"%1\" に書き込めません。\n%2")
                                .arg(QDir::toNativeSeparators(file), out.errorString()));
}
