#include "app/TParadoxImport.h"

#include "foundation/Conversions.h"
#include "foundation/DateTime.h"
#include "foundation/EKanmuriError.h"
#include "foundation/TDatabase.h"
#include "foundation/TParadoxTable.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"
#include "masters/THacchusya.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "masters/TSimei.h"
#include "masters/TUkeoisya.h"
#include "masters/TZairyoIndex.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "mix/TRyudoKikaku.h"
#include "mix/TRyudoRange.h"
#include "store/THojituHead4.h"
#include "store/THojituLine4.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QTime>
#include <cmath>
#include <memory>
#include <vector>

#ifdef KANMURI_HAVE_PXLIB
extern "C" {
#include <paradox.h>
}
#endif

namespace {

const QString kCoreHead = QStringLiteral("CoreHead");

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

qint64 RowCount(const QString& table)
{
    TQuery query(QStringLiteral("select count(*) from ") + table);
    query.Exec();
    return query.Next() ? query.Value(0).toLongLong() : 0;
}

// Our table for `table`, made when this data folder lacks it. The mixture
// tables are made without the questions the mix editor asks: the user asked
// for them by importing.
void EnsureOurTable(const QString& table)
{
    if (table == QStringLiteral("HojituHead4"))
        THojituHead4::EnsureTables();
    else if (table == QStringLiteral("HojituLine4"))
        THojituLine4::EnsureTables();
    else if (table == QStringLiteral("Koji1"))
        TKoji::EnsureTables();
    else if (table == QStringLiteral("Kosyu4"))
        TKosyu::EnsureTables();
    else if (table == QStringLiteral("Hacchusya"))
        THacchusya::EnsureTables();
    else if (table == QStringLiteral("Ukeoisya"))
        TUkeoisya::EnsureTables();
    else if (table == QStringLiteral("Simei"))
        TSimei::EnsureTables();
    else if (table == QStringLiteral("ZairyoIndex"))
        TZairyoIndex::EnsureTables();
    else if (table == TGozaiDef::TableName())
        TDatabase::EnsureTable(table, TGozaiDef::TableFields());
    else if (table == TRyudoKikaku::TableName())
        TDatabase::EnsureTable(table, TRyudoKikaku::TableFields());
    else if (table == THotbinHaigoritu::TableName())
        TDatabase::EnsureTable(table, THotbinHaigoritu::TableFields());
    else if (table == TRyudoRange::TableName())
        TDatabase::EnsureTable(table, TRyudoRange::TableFields());
}

// CoreHead is other programs' table: it comes with whatever columns it has.
QList<TFieldDef> FieldsOf(const TParadoxTable& source)
{
    QList<TFieldDef> fields;
#ifdef KANMURI_HAVE_PXLIB
    for (const TParadoxTable::TField& f : source.Fields()) {
        switch (f.Type) {
        case pxfAlpha:
            fields.append({f.Name, TFieldType::String, f.Length});
            break;
        case pxfShort:
        case pxfLong:
        case pxfAutoInc:
            fields.append({f.Name, TFieldType::Integer});
            break;
        case pxfNumber:
        case pxfCurrency:
        case pxfBCD:
            fields.append({f.Name, TFieldType::Float});
            break;
        case pxfDate:
        case pxfTimestamp:
            fields.append({f.Name, TFieldType::DateTime});
            break;
        case pxfLogical:
            fields.append({f.Name, TFieldType::Boolean});
            break;
        case pxfTime:
            fields.append({f.Name, TFieldType::String, 8});
            break;
        default:
            break; // memos and pictures are not kept
        }
    }
#else
    Q_UNUSED(source);
#endif
    return fields;
}

// A value of the old table in the type of our column.
QVariant Converted(const QVariant& value, TFieldType type)
{
    const int from = value.typeId();
    switch (type) {
    case TFieldType::Integer:
        if (!value.isValid())
            return 0;
        if (from == QMetaType::QString)
            return qlonglong(NumberOrZero(value.toString()));
        if (from == QMetaType::Double)
            return qlonglong(std::llround(value.toDouble()));
        return value.toLongLong();
    case TFieldType::Float:
        if (!value.isValid())
            return 0.0;
        if (from == QMetaType::QString)
            return NumberOrZero(value.toString());
        return value.toDouble();
    case TFieldType::Boolean:
        if (!value.isValid())
            return 0;
        return from == QMetaType::QString ? (value.toString().trimmed().isEmpty() ? 0 : 1)
                                          : (value.toDouble() != 0 ? 1 : 0);
    case TFieldType::DateTime:
        if (from == QMetaType::QDate)
            return DateTimeToSqlText(FromQDate(value.toDate()));
        if (from == QMetaType::QDateTime)
            return DateTimeToSqlText(FromQDateTime(value.toDateTime()));
        return QVariant();
    case TFieldType::String:
        if (!value.isValid())
            return QString();
        if (from == QMetaType::Double)
            return FormatGeneral(value.toDouble());
        if (from == QMetaType::QDate)
            return FormatDate(FromQDate(value.toDate()));
        if (from == QMetaType::QDateTime)
            return DateTimeToSqlText(FromQDateTime(value.toDateTime()));
        if (from == QMetaType::QTime)
            return value.toTime().toString(QStringLiteral("hh:mm:ss"));
        if (from == QMetaType::Bool)
            return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        return value.toString();
    }
    return value;
}

} // namespace

const QStringList& TParadoxImport::Tables()
{
    static const QStringList tables = {QStringLiteral("Koji1"),
                                       QStringLiteral("Kosyu4"),
                                       QStringLiteral("Hacchusya"),
                                       QStringLiteral("Ukeoisya"),
                                       QStringLiteral("Simei"),
                                       QStringLiteral("ZairyoIndex"),
                                       QStringLiteral("Ryudokikaku"),
                                       QStringLiteral("HBHaigoritu"),
                                       QStringLiteral("RyudoRange"),
                                       QStringLiteral("GozaiDef"),
                                       QStringLiteral("HojituHead4"),
                                       QStringLiteral("HojituLine4"),
                                       kCoreHead};
    return tables;
}

TParadoxImport::TParadoxImport(const QString& folder) : m_folder(folder) {}

QString TParadoxImport::FileOf(const QString& table) const
{
    const QDir folder(m_folder);
    const QString wanted = table + QStringLiteral(".DB");
    for (const QString& name : folder.entryList(QDir::Files))
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return folder.filePath(name);
    return QString();
}

QStringList TParadoxImport::FoundTables() const
{
    QStringList found;
    for (const QString& table : Tables())
        if (!FileOf(table).isEmpty())
            found << table;
    return found;
}

QStringList TParadoxImport::TablesHoldingData() const
{
    QStringList holding;
    for (const QString& table : FoundTables()) {
        if (!TDatabase::TableExists(table) || RowCount(table) == 0)
            continue;
        if (table == TRyudoKikaku::TableName() && TRyudoKikaku::HoldsOnlyDefaults())
            continue;
        holding << table;
    }
    return holding;
}

QList<TParadoxImport::TTableReport> TParadoxImport::Run(bool replace, const TProgress& progress)
{
    if (!QDir(m_folder).exists())
        throw EKanmuriError(
            QStringLiteral("フォルダ \"%1\" が見つかりません。").arg(Native(m_folder)));
    const QStringList tables = FoundTables();
    if (tables.isEmpty())
        throw EKanmuriError(QStringLiteral("フォルダ \"%1\" には取り込める表 (Koji1.DB、"
                                           "HojituHead4.DB など) がありません。")
                                .arg(Native(m_folder)));
    // Every file is opened, and its header checked, before anything is
    // written.
    std::vector<std::unique_ptr<TParadoxTable>> sources;
    qint64 total = 0;
    for (const QString& table : tables) {
        sources.push_back(std::make_unique<TParadoxTable>(FileOf(table)));
        total += sources.back()->RecordCount();
    }
    QList<TTableReport> reports;
    qint64 done = 0;
    // Looked at under the write lock, so that a day another program saves
    // meanwhile is seen here instead of being deleted.
    TTransaction transaction;
    const QStringList holding = TablesHoldingData();
    if (!holding.isEmpty() && !replace)
        throw EKanmuriError(
            QStringLiteral("このデータ格納フォルダには、次の表のデータがすでにあります: %1\n"
                           "取り込みは行いませんでした。置き換える場合は、置き換えを選んで"
                           "取り込み直してください。")
                .arg(holding.join(QStringLiteral("、"))));
    for (std::size_t t = 0; t < sources.size(); ++t) {
        const QString& table = tables[int(t)];
        TParadoxTable& source = *sources[t];
        if (table == kCoreHead) {
            TDatabase::DropTable(table);
            TDatabase::CreateTable(table, FieldsOf(source));
        } else {
            EnsureOurTable(table);
            TQuery(QStringLiteral("delete from ") + TDatabase::QuoteName(table)).Exec();
        }

        // Our columns, each with the old column of its name (none: empty).
        const QList<TFieldDef> columns = TDatabase::TableColumns(table);
        QList<int> from;
        QStringList names, parameters;
        for (int c = 0; c < columns.size(); ++c) {
            int index = -1;
            for (int f = 0; f < source.Fields().size(); ++f)
                if (source.Fields()[f].Name.compare(columns[c].name, Qt::CaseInsensitive) == 0)
                    index = f;
            from << index;
            // CoreHead's names come from the file: quoted, they may hold
            // blanks or be keywords ("Species No", "Order").
            names << TDatabase::QuoteName(columns[c].name);
            parameters << QStringLiteral(":v%1").arg(c);
        }
        TQuery insert(QStringLiteral("insert into %1 (%2) values (%3)")
                          .arg(TDatabase::QuoteName(table), names.join(QStringLiteral(", ")),
                               parameters.join(QStringLiteral(", "))));
        TTableReport report{table};
        for (int r = 0; r < source.RecordCount(); ++r) {
            const QVariantList values = source.Record(r);
            ++report.Read;
            for (int c = 0; c < columns.size(); ++c)
                insert.Bind(parameters[c], Converted(from[c] >= 0 ? values[from[c]] : QVariant(),
                                                     columns[c].type));
            insert.Exec();
            ++report.Stored;
            if (progress && ++done % 500 == 0)
                progress(done, total);
        }
        reports << report;
    }
    transaction.Commit();
    if (progress)
        progress(total, total);
    return reports;
}

QString TParadoxImport::ReportText(const QList<TTableReport>& reports)
{
    QStringList lines;
    for (const TTableReport& report : reports)
        lines << QStringLiteral("%1: %2 件読み込み、%3 件取り込み")
                     .arg(report.Table)
                     .arg(report.Read)
                     .arg(report.Stored);
    return lines.join(u'\n');
}
