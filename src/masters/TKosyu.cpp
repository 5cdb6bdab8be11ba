#include "masters/TKosyu.h"

#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"

TKosyu::TKosyu(QObject* owner) : QObject(owner) {}

bool TKosyu::EnsureTables()
{
    return TDatabase::EnsureTable(
        QStringLiteral("Kosyu4"),
        {{QStringLiteral("KOSYUMEI"), TFieldType::String, TKosyu::NameLength},
         {QStringLiteral("ID"), TFieldType::Integer}});
}

void TKosyu::Clear()
{
    Kosyumei.clear();
}

void TKosyu::LoadByName(const QString& name)
{
    TQuery query(QStringLiteral("select KOSYUMEI, ID from Kosyu4 where KOSYUMEI = :KOSYUMEI"));
    query.BindText(QStringLiteral(":KOSYUMEI"), name.trimmed()).Exec();
    if (query.Next()) {
        Kosyumei = query.Text(QStringLiteral("KOSYUMEI"));
        ID = query.Integer(QStringLiteral("ID"));
    } else {
        Kosyumei = name;
    }
}

void TKosyu::Save()
{
    const QString name = Kosyumei.trimmed();
    if (name.isEmpty())
        return;
    TTransaction transaction;
    if (!RowExists(QStringLiteral("Kosyu4"), {{QStringLiteral("KOSYUMEI"), name}}) && ID == 0)
        ID = NextId();
    // Stored as looked up, so that the name is found again.
    InsertOrUpdate(QStringLiteral("Kosyu4"), {{QStringLiteral("KOSYUMEI"), name}},
                   {{QStringLiteral("KOSYUMEI"), name}, {QStringLiteral("ID"), ID}});
    transaction.Commit();
}

int TKosyu::NextId()
{
    return MaxId(QStringLiteral("Kosyu4")) + 1;
}

void TKosyu::DeleteAll()
{
    TQuery(QStringLiteral("delete from Kosyu4")).Exec();
}

void TKosyu::FillList(QStringList& list)
{
    list = TextsOf(QStringLiteral("select distinct KOSYUMEI, ID from Kosyu4 order by ID"));
}

void TKosyu::RewriteAll(const QStringList& names)
{
    TTransaction transaction;
    DeleteAll();
    for (int i = 0; i < names.size(); ++i) {
        ID = i + 1;
        LoadByName(names[i]);
        Save();
    }
    transaction.Commit();
}
