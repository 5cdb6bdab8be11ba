#include "foundation/Rows.h"

#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"

namespace {

QString WhereClause(const TColumnValues& keys)
{
    QStringList terms;
    for (int i = 0; i < keys.size(); ++i)
        terms << QStringLiteral("(%1 = :k%2)").arg(keys[i].column).arg(i);
    return QStringLiteral(" where ") + terms.join(QStringLiteral(" and "));
}

void BindKeys(TQuery& query, const TColumnValues& keys)
{
    for (int i = 0; i < keys.size(); ++i)
        query.Bind(QStringLiteral(":k%1").arg(i), keys[i].value);
}

void BindValues(TQuery& query, const TColumnValues& values)
{
    for (int i = 0; i < values.size(); ++i)
        query.Bind(QStringLiteral(":v%1").arg(i), values[i].value);
}

} // namespace

bool RowExists(const QString& table, const TColumnValues& keys)
{
    TQuery query(QStringLiteral("select count(*) from ") + table + WhereClause(keys));
    BindKeys(query, keys);
    query.Exec();
    return query.Next() && query.Integer(0) > 0;
}

bool InsertOrUpdate(const QString& table, const TColumnValues& keys, const TColumnValues& values)
{
    // Another program saving the same key between the look-up and the write
    // would add a second row.
    TTransaction transaction;
    const bool found = RowExists(table, keys);
    QStringList columns, parameters;
    for (int i = 0; i < values.size(); ++i) {
        columns << values[i].column;
        parameters << QStringLiteral(":v%1").arg(i);
    }
    if (found) {
        QStringList assignments;
        for (int i = 0; i < values.size(); ++i)
            assignments << columns[i] + QStringLiteral(" = ") + parameters[i];
        TQuery query(QStringLiteral("update ") + table + QStringLiteral(" set ") +
                     assignments.join(QStringLiteral(", ")) + WhereClause(keys));
        BindValues(query, values);
        BindKeys(query, keys);
        query.Exec();
    } else {
        TQuery query(QStringLiteral("insert into %1 (%2) values (%3)")
                         .arg(table, columns.join(QStringLiteral(", ")),
                              parameters.join(QStringLiteral(", "))));
        BindValues(query, values);
        query.Exec();
    }
    transaction.Commit();
    return found;
}

bool LoadRow(const QString& table, const QStringList& columns, const TColumnValues& keys,
             QVariantList& values)
{
    TQuery query(QStringLiteral("select ") + columns.join(QStringLiteral(", ")) +
                 QStringLiteral(" from ") + table + WhereClause(keys));
    BindKeys(query, keys);
    query.Exec();
    values.clear();
    if (!query.Next())
        return false;
    for (int i = 0; i < columns.size(); ++i)
        values << query.Value(i);
    return true;
}

void DeleteRows(const QString& table, const TColumnValues& keys)
{
    TQuery query(QStringLiteral("delete from ") + table + WhereClause(keys));
    BindKeys(query, keys);
    query.Exec();
}

QStringList TextsOf(const QString& sql)
{
    QStringList result;
    TQuery query(sql);
    query.Exec();
    while (query.Next())
        result << query.Value(0).toString();
    return result;
}
