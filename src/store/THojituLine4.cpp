#include "store/THojituLine4.h"

#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"

namespace {

const QString kTable = QStringLiteral("HojituLine4");

QStringList ValueColumns()
{
    QStringList columns;
    for (int p = 0; p < THojituLine4::ValueCount; ++p)
        columns << THojituLine4::Column(p);
    return columns;
}

// "SID,HIDUKE,SOKUTEN,H00,...,H32" and its parameters.
QString RowColumns()
{
    return QStringLiteral("SID,HIDUKE,SOKUTEN,") + ValueColumns().join(u',');
}

QString SumsSelect()
{
    QStringList sums;
    for (int p : THojituLine4::SummedPositions())
        sums << QStringLiteral("Sum(%1)").arg(THojituLine4::Column(p));
    return QStringLiteral("select ") + sums.join(u',') + QStringLiteral(" from HojituLine4");
}

} // namespace

const QList<int>& THojituLine4::SummedPositions()
{
    static const QList<int> positions{2,  3,  8,  9,  10, 11, 12, 16, 17, 18, 19,
                                      20, 21, 22, 26, 27, 28, 29, 30, 31, 32};
    return positions;
}

QString THojituLine4::Column(int position)
{
    return QStringLiteral("H%1").arg(position, 2, 10, QLatin1Char('0'));
}

THojituLine4::THojituLine4(QObject* owner) : QObject(owner)
{
    Clear();
}

bool THojituLine4::EnsureTables()
{
    QList<TFieldDef> fields{{QStringLiteral("SID"), TFieldType::Integer},
                            {QStringLiteral("HIDUKE"), TFieldType::DateTime},
                            {QStringLiteral("SOKUTEN"), TFieldType::String, 16}};
    for (const QString& column : ValueColumns())
        fields.append({column, TFieldType::Float});
    const bool existed = TDatabase::EnsureTable(kTable, fields);
    TDatabase::EnsureIndex(kTable, QStringLiteral("HojituLine4Day"),
                           {QStringLiteral("SID"), QStringLiteral("HIDUKE")});
    // The data-open list shows the newest days first: read in this order, its
    // first page needs no sort of every day.
    TDatabase::EnsureIndex(kTable, QStringLiteral("HojituLine4Date"),
                           {QStringLiteral("HIDUKE"), QStringLiteral("SID")});
    return existed;
}

void THojituLine4::Clear()
{
    SID = 0;
    Hiduke = Now();
    Sokuten.clear();
    Values.fill(0);
}

void THojituLine4::LoadFromRow(const TQuery& query)
{
    SID = query.Integer(QStringLiteral("SID"));
    Hiduke = query.DateTimeValue(QStringLiteral("HIDUKE"));
    Sokuten = query.Text(QStringLiteral("SOKUTEN"));
    for (int p = 0; p < ValueCount; ++p)
        Values[p] = query.Number(Column(p));
}

bool THojituLine4::LoadFirst()
{
    TQuery query(QStringLiteral("select ") + RowColumns() +
                 QStringLiteral(" from HojituLine4 where SID = :SID order by HIDUKE"));
    query.Bind(QStringLiteral(":SID"), SID).Exec();
    if (!query.Next())
        return false;
    LoadFromRow(query);
    return true;
}

bool THojituLine4::LoadByDay()
{
    TQuery query(QStringLiteral("select ") + RowColumns() +
                 QStringLiteral(" from HojituLine4 where (SID = :SID) and (HIDUKE = :HIDUKE)"));
    query.Bind(QStringLiteral(":SID"), SID).BindDateTime(QStringLiteral(":HIDUKE"), Hiduke).Exec();
    if (query.Next()) {
        LoadFromRow(query);
        return true;
    }
    const TDateTime day = Hiduke;
    Clear();
    Hiduke = day;
    return false;
}

void THojituLine4::ListDates(QStringList& list) const
{
    list.clear();
    TQuery query(QStringLiteral("select HIDUKE from HojituLine4 where SID = :SID order by HIDUKE"));
    query.Bind(QStringLiteral(":SID"), SID).Exec();
    while (query.Next())
        list << FormatDate(query.DateTimeValue(QStringLiteral("HIDUKE")));
}

void THojituLine4::Save()
{
    TTransaction transaction;
    TQuery find(QStringLiteral(
        "select count(*) from HojituLine4 where (SID = :SID) and (HIDUKE = :HIDUKE)"));
    find.Bind(QStringLiteral(":SID"), SID).BindDateTime(QStringLiteral(":HIDUKE"), Hiduke).Exec();
    const bool found = find.Next() && find.Integer(0) > 0;
    QString sql;
    if (found) {
        QStringList assignments;
        for (const QString& column : RowColumns().split(u','))
            assignments << column + QStringLiteral("=:") + column;
        sql = QStringLiteral("update HojituLine4 set ") + assignments.join(u',') +
              QStringLiteral(" where (SID=:SID) and (HIDUKE=:HIDUKE)");
    } else {
        sql = QStringLiteral("insert into HojituLine4 (") + RowColumns() +
              QStringLiteral(") values (:") + RowColumns().replace(u',', QStringLiteral(",:")) +
              u')';
    }
    TQuery write(sql);
    write.Bind(QStringLiteral(":SID"), SID)
        .BindDateTime(QStringLiteral(":HIDUKE"), Hiduke)
        .BindText(QStringLiteral(":SOKUTEN"), Sokuten);
    for (int p = 0; p < ValueCount; ++p)
        write.Bind(u':' + Column(p), Values[p]);
    write.Exec();
    transaction.Commit();
}

void THojituLine4::DeleteDay()
{
    TQuery query(
        QStringLiteral("delete from HojituLine4 where (SID = :SID) and (HIDUKE = :HIDUKE)"));
    query.Bind(QStringLiteral(":SID"), SID).BindDateTime(QStringLiteral(":HIDUKE"), Hiduke).Exec();
}

THojituLine4::TValues THojituLine4::Totals(bool upToDate, bool perMixture, const QString& gozaimei,
                                           const QString& kojiCode) const
{
    QString sql = SumsSelect();
    if (perMixture)
        sql += QStringLiteral(" inner join HojituHead4 on HojituHead4.ID=HojituLine4.SID"
                              " where (HojituHead4.KojiCode=:KojiCode)"
                              " and (HojituHead4.Gozaimei=:Gozaimei)");
    else
        sql += QStringLiteral(" where (SID=:SID)");
    if (upToDate)
        sql += QStringLiteral(" and (Hiduke<=:Hiduke)");
    TQuery query(sql);
    if (perMixture)
        query.BindText(QStringLiteral(":KojiCode"), kojiCode)
            .BindText(QStringLiteral(":Gozaimei"), gozaimei);
    else
        query.Bind(QStringLiteral(":SID"), SID);
    if (upToDate)
        query.BindDateTime(QStringLiteral(":Hiduke"), Hiduke);
    query.Exec();
    TValues sums{};
    if (query.Next()) {
        const QList<int>& positions = SummedPositions();
        for (int i = 0; i < positions.size(); ++i)
            sums[positions[i]] = query.Value(i).toDouble();
    }
    return sums;
}
