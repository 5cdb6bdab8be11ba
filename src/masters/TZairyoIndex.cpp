#include "masters/TZairyoIndex.h"

#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"

TZairyoIndex::TZairyoIndex(QObject* owner) : QObject(owner) {}

bool TZairyoIndex::EnsureTables()
{
    return TDatabase::EnsureTable(QStringLiteral("ZairyoIndex"),
                                  {{QStringLiteral("ZKubun"), TFieldType::Integer},
                                   {QStringLiteral("LNO"), TFieldType::Integer},
                                   {QStringLiteral("ZName"), TFieldType::String, 64}});
}

int TZairyoIndex::NextLno() const
{
    TQuery query(QStringLiteral("select max(LNO) from ZairyoIndex where ZKubun = :ZKubun"));
    query.Bind(QStringLiteral(":ZKubun"), ZKubun).Exec();
    return (query.Next() ? query.Integer(0) : 0) + 1;
}

void TZairyoIndex::DeleteCategory()
{
    DeleteRows(QStringLiteral("ZairyoIndex"), {{QStringLiteral("ZKubun"), ZKubun}});
}

void TZairyoIndex::AddIfMissing()
{
    if (ZName.isEmpty())
        return;
    // The look-up, the next line number and the insert under one lock.
    TTransaction transaction;
    if (RowExists(QStringLiteral("ZairyoIndex"),
                  {{QStringLiteral("ZKubun"), ZKubun}, {QStringLiteral("ZName"), ZName}}))
        return;
    Lno = NextLno();
    TQuery query(QStringLiteral(
        "insert into ZairyoIndex (ZKubun, LNO, ZName) values (:ZKubun, :LNO, :ZName)"));
    query.Bind(QStringLiteral(":ZKubun"), ZKubun)
        .Bind(QStringLiteral(":LNO"), Lno)
        .BindText(QStringLiteral(":ZName"), ZName)
        .Exec();
    transaction.Commit();
}

void TZairyoIndex::FillList(QStringList& list) const
{
    list.clear();
    TQuery query(
        QStringLiteral("select ZName from ZairyoIndex where ZKubun = :ZKubun order by LNO"));
    query.Bind(QStringLiteral(":ZKubun"), ZKubun).Exec();
    while (query.Next())
        list << query.Text(QStringLiteral("ZName"));
}

void TZairyoIndex::RewriteCategory(const QStringList& names)
{
    TTransaction transaction;
    DeleteCategory();
    for (const QString& name : names) {
        ZName = name;
        AddIfMissing();
    }
    transaction.Commit();
}
