#include "store/THojituHead4.h"

#include "foundation/DateTime.h"
#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "mix/TGozaiDef.h"

namespace {

const QString kTable = QStringLiteral("HojituHead4");

} // namespace

THojituHead4::THojituHead4(QObject* owner)
    : QObject(owner), Koji(new TKoji(this)), Kosyu(new TKosyu(this)), Gozai(new TGozaiDef(this))
{
}

bool THojituHead4::EnsureTables()
{
    const bool existed =
        TDatabase::EnsureTable(kTable, {{QStringLiteral("ID"), TFieldType::Integer},
                                        {QStringLiteral("KOJICODE"), TFieldType::String, 8},
                                        {QStringLiteral("KOSYUMEI"), TFieldType::String, 32},
                                        {QStringLiteral("GOZAIMEI"), TFieldType::String, 64}});
    TDatabase::EnsureIndex(
        kTable, QStringLiteral("HojituHead4Keys"),
        {QStringLiteral("KOJICODE"), QStringLiteral("GOZAIMEI"), QStringLiteral("KOSYUMEI")});
    TDatabase::EnsureIndex(kTable, QStringLiteral("HojituHead4ID"), {QStringLiteral("ID")});
    // A header looks its project and work type up; a data folder just
    // repointed must not fail on their tables.
    TKoji::EnsureTables();
    TKosyu::EnsureTables();
    return existed;
}

int THojituHead4::NextId()
{
    return MaxId(kTable) + 1;
}

void THojituHead4::LoadByKeys()
{
    TQuery query(QStringLiteral("select ID, KOJICODE, KOSYUMEI, GOZAIMEI from HojituHead4 "
                                "where (KOJICODE = :KojiCode) and (KOSYUMEI = :Kosyumei) "
                                "and (GOZAIMEI = :Gozaimei)"));
    query.BindText(QStringLiteral(":KojiCode"), Koji->Code)
        .BindText(QStringLiteral(":Kosyumei"), Kosyu->Kosyumei)
        .BindText(QStringLiteral(":Gozaimei"), Gozai->DataName)
        .Exec();
    if (!query.Next()) {
        ID = 0;
        return;
    }
    LoadKeys(query.Integer(QStringLiteral("ID")), query.Text(QStringLiteral("KOJICODE")),
             query.Text(QStringLiteral("KOSYUMEI")), query.Text(QStringLiteral("GOZAIMEI")));
}

void THojituHead4::LoadById(int id)
{
    TQuery query(
        QStringLiteral("select ID, KOJICODE, KOSYUMEI, GOZAIMEI from HojituHead4 where ID = :ID"));
    query.Bind(QStringLiteral(":ID"), id).Exec();
    if (!query.Next()) {
        ID = 0;
        return;
    }
    LoadKeys(query.Integer(QStringLiteral("ID")), query.Text(QStringLiteral("KOJICODE")),
             query.Text(QStringLiteral("KOSYUMEI")), query.Text(QStringLiteral("GOZAIMEI")));
}

void THojituHead4::LoadKeys(int id, const QString& code, const QString& kosyu, const QString& gozai)
{
    ID = id;
    Koji->LoadByCode(code);
    Kosyu->LoadByName(kosyu);
    // A data folder without mixture definitions still shows the header by
    // its mixture name.
    if (TDatabase::TableExists(TGozaiDef::TableName())) {
        Gozai->LoadByName(gozai);
    } else {
        Gozai->DataName = gozai;
        Gozai->PrintName = gozai;
    }
}

void THojituHead4::Save()
{
    TTransaction transaction;
    const TColumnValues keys{{QStringLiteral("KOJICODE"), Koji->Code},
                             {QStringLiteral("KOSYUMEI"), Kosyu->Kosyumei},
                             {QStringLiteral("GOZAIMEI"), Gozai->DataName}};
    TQuery find(QStringLiteral("select ID from HojituHead4 where (KOJICODE = :KojiCode) and "
                               "(KOSYUMEI = :Kosyumei) and (GOZAIMEI = :Gozaimei)"));
    find.BindText(QStringLiteral(":KojiCode"), Koji->Code)
        .BindText(QStringLiteral(":Kosyumei"), Kosyu->Kosyumei)
        .BindText(QStringLiteral(":Gozaimei"), Gozai->DataName)
        .Exec();
    ID = find.Next() ? find.Integer(QStringLiteral("ID")) : NextId();
    InsertOrUpdate(kTable, {{QStringLiteral("ID"), ID}},
                   TColumnValues{{QStringLiteral("ID"), ID}} + keys);
    transaction.Commit();
}

void THojituHead4::Delete()
{
    TTransaction transaction;
    DeleteRows(kTable, {{QStringLiteral("ID"), ID}});
    DeleteRows(QStringLiteral("HojituLine4"), {{QStringLiteral("SID"), ID}});
    transaction.Commit();
}

void THojituHead4::ListAll(QList<THojituListItem>& list)
{
    list.clear();
    TQuery query(QStringLiteral("select Koji1.KOJIMEI, HojituHead4.KOSYUMEI, HojituHead4.GOZAIMEI, "
                                "HojituLine4.HIDUKE, HojituHead4.ID from HojituHead4 "
                                "inner join Koji1 on Koji1.CODE = HojituHead4.KOJICODE "
                                "inner join HojituLine4 on HojituLine4.SID = HojituHead4.ID"));
    query.Exec();
    // A header has a line per day: its texts are shared by all of them.
    int lastId = -1;
    QString caption, kosyu, gozai, idText;
    while (query.Next()) {
        const int id = query.Value(4).toInt();
        if (id != lastId) {
            lastId = id;
            caption = query.Value(0).toString();
            kosyu = query.Value(1).toString();
            gozai = query.Value(2).toString();
            idText = QString::number(id);
        }
        // Stored dates are "yyyy-MM-dd hh:mm:ss"; the list shows "yyyy/MM/dd".
        QString date = query.Value(3).toString().left(10);
        if (date.size() == 10 && date[4] == u'-' && date[7] == u'-') {
            date[4] = u'/';
            date[7] = u'/';
        } else {
            date = FormatDate(SqlTextToDateTime(query.Value(3).toString()));
        }
        list.append({caption, {kosyu, gozai, date, idText}});
    }
}
