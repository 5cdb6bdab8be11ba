#include "masters/THacchusya.h"

#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"

THacchusya::THacchusya(QObject* owner) : QObject(owner) {}

bool THacchusya::EnsureTables()
{
    return TDatabase::EnsureTable(QStringLiteral("Hacchusya"),
                                  {{QStringLiteral("HACCHUSYAMEI"), TFieldType::String, 32},
                                   {QStringLiteral("SYOKUSIMEI"), TFieldType::String, 32}});
}

void THacchusya::Clear()
{
    Hacchusyamei.clear();
    SyokuSimei.clear();
}

void THacchusya::LoadByName(const QString& name)
{
    TQuery query(QStringLiteral(
        "select HACCHUSYAMEI, SYOKUSIMEI from Hacchusya where HACCHUSYAMEI = :HACCHUSYAMEI"));
    query.BindText(QStringLiteral(":HACCHUSYAMEI"), name).Exec();
    if (query.Next()) {
        Hacchusyamei = query.Text(QStringLiteral("HACCHUSYAMEI"));
        SyokuSimei = query.Text(QStringLiteral("SYOKUSIMEI"));
    } else {
        Clear();
        Hacchusyamei = name;
    }
}

void THacchusya::Save()
{
    if (Hacchusyamei.trimmed().isEmpty())
        return;
    InsertOrUpdate(QStringLiteral("Hacchusya"), {{QStringLiteral("HACCHUSYAMEI"), Hacchusyamei}},
                   {{QStringLiteral("HACCHUSYAMEI"), Hacchusyamei},
                    {QStringLiteral("SYOKUSIMEI"), SyokuSimei}});
}

void THacchusya::Delete()
{
    DeleteRows(QStringLiteral("Hacchusya"), {{QStringLiteral("HACCHUSYAMEI"), Hacchusyamei}});
}

void THacchusya::FillList(QStringList& list)
{
    list = TextsOf(QStringLiteral("select HACCHUSYAMEI from Hacchusya order by HACCHUSYAMEI"));
}
