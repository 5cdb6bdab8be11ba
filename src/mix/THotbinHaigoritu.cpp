#include "mix/THotbinHaigoritu.h"

#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TTransaction.h"

#include <QStringList>

namespace {

QString Column(int i)
{
    return QStringLiteral("D%1").arg(i, 2, 10, QLatin1Char('0'));
}

QList<TFieldDef> Fields()
{
    QList<TFieldDef> fields = {{QStringLiteral("ID"), TFieldType::Integer}};
    for (int i = 0; i < THotbinHaigoritu::ColumnCount; ++i)
        fields.append({Column(i), TFieldType::Float});
    return fields;
}

QStringList Columns()
{
    QStringList columns;
    for (int i = 0; i < THotbinHaigoritu::ColumnCount; ++i)
        columns << Column(i);
    return columns;
}

} // namespace

THotbinHaigoritu::THotbinHaigoritu(QObject* parent) : QObject(parent) {}

bool THotbinHaigoritu::EnsureTables(const TAskCreate& ask)
{
    return TDatabase::EnsureTable(TableName(), Fields(), [&] {
        return ask(QStringLiteral("データを作成しますか?"), QStringLiteral("HBHaigoritu.DB"));
    });
}

void THotbinHaigoritu::Clear()
{
    ID = 0;
    D.fill(0);
}

void THotbinHaigoritu::LoadById(int id)
{
    QVariantList row;
    if (!LoadRow(TableName(), Columns(), {{QStringLiteral("ID"), id}}, row)) {
        Clear();
        ID = id;
        return;
    }
    ID = id;
    for (int i = 0; i < ColumnCount; ++i)
        D[i] = row[i].toDouble();
}

void THotbinHaigoritu::Save()
{
    // The new ID and the row are written under one lock.
    TTransaction transaction;
    if (!RowExists(TableName(), {{QStringLiteral("ID"), ID}}))
        ID = NextId();
    TColumnValues values{{QStringLiteral("ID"), ID}};
    const QStringList columns = Columns();
    for (int i = 0; i < ColumnCount; ++i)
        values.append({columns[i], D[i]});
    InsertOrUpdate(TableName(), {{QStringLiteral("ID"), ID}}, values);
    transaction.Commit();
}

void THotbinHaigoritu::Delete()
{
    DeleteRows(TableName(), {{QStringLiteral("ID"), ID}});
}

int THotbinHaigoritu::NextId() const
{
    return MaxId(TableName()) + 1;
}

QList<TFieldDef> THotbinHaigoritu::TableFields()
{
    return Fields();
}
