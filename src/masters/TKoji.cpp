#include "masters/TKoji.h"

#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"
#include "masters/THacchusya.h"
#include "masters/TSimei.h"
#include "masters/TUkeoisya.h"

TKoji::TKoji(QObject* owner)
    : QObject(owner), Client(new THacchusya(this)), Contractor(new TUkeoisya(this)),
      SiteAgent(new TSimei(this))
{
    if (!TDatabase::IsAvailable())
        return;
    THacchusya::EnsureTables();
    TUkeoisya::EnsureTables();
}

bool TKoji::EnsureTables()
{
    const bool existed = TDatabase::EnsureTable(
        QStringLiteral("Koji1"), {{QStringLiteral("CODE"), TFieldType::String, TKoji::CodeLength},
                                  {QStringLiteral("KOJIMEI"), TFieldType::String, 128},
                                  {QStringLiteral("HACCHUSYA"), TFieldType::String, 20},
                                  {QStringLiteral("UKEOISYA"), TFieldType::String, 40},
                                  {QStringLiteral("DAIRININ"), TFieldType::String, 16},
                                  {QStringLiteral("YOSHIKI"), TFieldType::Integer}});
    THacchusya::EnsureTables();
    TUkeoisya::EnsureTables();
    TSimei::EnsureTables();
    return existed;
}

void TKoji::Clear()
{
    Code.clear();
    Kojimei.clear();
    Client->Clear();
    Contractor->Clear();
    SiteAgent->Clear();
}

void TKoji::LoadByCode(const QString& code)
{
    TQuery query(QStringLiteral("select CODE, KOJIMEI, HACCHUSYA, UKEOISYA, DAIRININ, YOSHIKI "
                                "from Koji1 where CODE = :CODE"));
    query.BindText(QStringLiteral(":CODE"), code.trimmed()).Exec();
    if (!query.Next()) {
        Clear();
        Code = code;
        return;
    }
    Code = query.Text(QStringLiteral("CODE"));
    Kojimei = query.Text(QStringLiteral("KOJIMEI"));
    const QString client = query.Text(QStringLiteral("HACCHUSYA"));
    const QString contractor = query.Text(QStringLiteral("UKEOISYA"));
    const QString agent = query.Text(QStringLiteral("DAIRININ"));
    Yoshiki = query.Integer(QStringLiteral("YOSHIKI"));
    Client->LoadByName(client);
    Contractor->LoadByName(contractor);
    SiteAgent->LoadByName(agent);
}

void TKoji::Save()
{
    const QString code = Code.trimmed();
    if (code.isEmpty())
        return;
    // The project and the names it adds to the registers land together.
    TTransaction transaction;
    Client->Save();
    Contractor->Save();
    SiteAgent->Save();
    InsertOrUpdate(QStringLiteral("Koji1"), {{QStringLiteral("CODE"), code}},
                   {{QStringLiteral("CODE"), code},
                    {QStringLiteral("KOJIMEI"), Kojimei},
                    {QStringLiteral("HACCHUSYA"), Client->Hacchusyamei},
                    {QStringLiteral("UKEOISYA"), Contractor->Ukeoisyamei},
                    {QStringLiteral("DAIRININ"), SiteAgent->Simei},
                    {QStringLiteral("YOSHIKI"), Yoshiki}});
    transaction.Commit();
}

void TKoji::Delete()
{
    // Compared as Save stored it, so a code typed with a blank is found.
    DeleteRows(QStringLiteral("Koji1"), {{QStringLiteral("CODE"), Code.trimmed()}});
}

void TKoji::FillList(QStringList& list)
{
    list.clear();
    TQuery query(QStringLiteral("select CODE, KOJIMEI from Koji1 order by CODE"));
    query.Exec();
    while (query.Next()) {
        const QString code = query.Text(QStringLiteral("CODE"));
        if (!code.trimmed().isEmpty())
            list << code + u':' + query.Text(QStringLiteral("KOJIMEI"));
    }
}
