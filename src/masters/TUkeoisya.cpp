#include "masters/TUkeoisya.h"

#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"

TUkeoisya::TUkeoisya(QObject* owner) : QObject(owner) {}

bool TUkeoisya::EnsureTables()
{
    return TDatabase::EnsureTable(QStringLiteral("Ukeoisya"),
                                  {{QStringLiteral("UKEOISYAMEI"), TFieldType::String, 48},
                                   {QStringLiteral("JUSYO"), TFieldType::String, 48},
                                   {QStringLiteral("KAISYA"), TFieldType::String, 48},
                                   {QStringLiteral("DAIHYOSYA"), TFieldType::String, 48},
                                   {QStringLiteral("JVFLAG"), TFieldType::Boolean}});
}

void TUkeoisya::Clear()
{
    Ukeoisyamei.clear();
    Jusyo.clear();
    Kaisya.clear();
    Daihyosya.clear();
    JVFlag = false;
}

void TUkeoisya::LoadByName(const QString& name)
{
    TQuery query(QStringLiteral("select UKEOISYAMEI, JUSYO, KAISYA, DAIHYOSYA, JVFLAG "
                                "from Ukeoisya where UKEOISYAMEI = :UKEOISYAMEI"));
    query.BindText(QStringLiteral(":UKEOISYAMEI"), name).Exec();
    if (query.Next()) {
        Ukeoisyamei = query.Text(QStringLiteral("UKEOISYAMEI"));
        Jusyo = query.Text(QStringLiteral("JUSYO"));
        Kaisya = query.Text(QStringLiteral("KAISYA"));
        Daihyosya = query.Text(QStringLiteral("DAIHYOSYA"));
        JVFlag = query.Boolean(QStringLiteral("JVFLAG"));
    } else {
        Clear();
        Ukeoisyamei = name;
    }
}

void TUkeoisya::Save()
{
    if (Ukeoisyamei.trimmed().isEmpty())
        return;
    InsertOrUpdate(QStringLiteral("Ukeoisya"), {{QStringLiteral("UKEOISYAMEI"), Ukeoisyamei}},
                   {{QStringLiteral("UKEOISYAMEI"), Ukeoisyamei},
                    {QStringLiteral("JUSYO"), Jusyo},
                    {QStringLiteral("KAISYA"), Kaisya},
                    {QStringLiteral("DAIHYOSYA"), Daihyosya},
                    {QStringLiteral("JVFLAG"), JVFlag}});
}

void TUkeoisya::Delete()
{
    DeleteRows(QStringLiteral("Ukeoisya"), {{QStringLiteral("UKEOISYAMEI"), Ukeoisyamei}});
}

void TUkeoisya::FillList(QStringList& list)
{
    list = TextsOf(QStringLiteral("select UKEOISYAMEI from Ukeoisya order by UKEOISYAMEI"));
}
