#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// A column and the value to store in it. Column and table names are always
// the program's own, never user input.
struct TColumnValue
{
    QString column;
    QVariant value;
};
using TColumnValues = QList<TColumnValue>;

// True when `table` holds a row whose `keys` columns equal their values.
bool RowExists(const QString& table, const TColumnValues& keys);

// The save every register does: looks the row up by `keys`; when found,
// updates `values` in every such row, otherwise inserts one row of `values`.
// Returns true when it updated.
bool InsertOrUpdate(const QString& table, const TColumnValues& keys, const TColumnValues& values);

// Reads `columns` of the first row whose `keys` columns equal their values
// into `values`, in order; false when there is none.
bool LoadRow(const QString& table, const QStringList& columns, const TColumnValues& keys,
             QVariantList& values);

// Deletes every row whose `keys` columns equal their values.
void DeleteRows(const QString& table, const TColumnValues& keys);

// The texts of the first column of `sql`'s result, in order.
QStringList TextsOf(const QString& sql);
