#include "masters/TSimei.h"

#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"

TSimei::TSimei(QObject* owner) : QObject(owner)
{
    if (TDatabase::IsAvailable())
        EnsureTables();
}

bool TSimei::EnsureTables()
{
    return TDatabase::EnsureTable(QStringLiteral("Simei"),
                                  {{QStringLiteral("FURIGANA"), TFieldType::String, 16},
                                   {QStringLiteral("SIMEI"), TFieldType::String, 16}});
}

void TSimei::Clear()
{
    Simei.clear();
    Furigana.clear();
}

void TSimei::LoadByName(const QString& name)
{
    TQuery query(QStringLiteral("select FURIGANA, SIMEI from Simei where SIMEI = :SIMEI"));
    query.BindText(QStringLiteral(":SIMEI"), name).Exec();
    if (query.Next()) {
        Simei = query.Text(QStringLiteral("SIMEI"));
        Furigana = query.Text(QStringLiteral("FURIGANA"));
    } else {
        Clear();
        Simei = name;
    }
}

void TSimei::Save()
{
    Simei = Simei.trimmed();
    Furigana = Furigana.trimmed();
    if (Simei.isEmpty())
        return;
    if (Furigana.isEmpty())
        Furigana = Simei;
    InsertOrUpdate(QStringLiteral("Simei"), {{QStringLiteral("SIMEI"), Simei}},
                   {{QStringLiteral("FURIGANA"), Furigana}, {QStringLiteral("SIMEI"), Simei}});
}

void TSimei::Delete()
{
    DeleteRows(QStringLiteral("Simei"), {{QStringLiteral("SIMEI"), Simei}});
}

void TSimei::FillList(QStringList& list)
{
    list = TextsOf(QStringLiteral("select SIMEI from Simei order by FURIGANA"));
}
