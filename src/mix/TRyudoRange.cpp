#include "mix/TRyudoRange.h"

#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TTransaction.h"

#include <QStringList>
#include <algorithm>

namespace {

QString Column(int i)
{
    return QStringLiteral("R%1").arg(i);
}

QList<TFieldDef> Fields()
{
    QList<TFieldDef> fields = {{QStringLiteral("ID"), TFieldType::Integer}};
    for (int i = 0; i < TRyudoRange::ValueCount; ++i)
        fields.append({Column(i), TFieldType::String, 10});
    return fields;
}

QStringList Columns()
{
    QStringList columns;
    for (int i = 0; i < TRyudoRange::ValueCount; ++i)
        columns << Column(i);
    return columns;
}

} // namespace

TRyudoRange::TRyudoRange(QObject* parent) : QObject(parent) {}

bool TRyudoRange::EnsureTables(const TAskCreate& ask)
{
    return TDatabase::EnsureTable(TableName(), Fields(), [&] {
        return ask(QStringLiteral("データを作成しますか?"), QStringLiteral("RyudoRange.DB"));
    });
}

void TRyudoRange::Clear()
{
    ID = 0;
    for (QString& value : Values)
        value.clear();
}

void TRyudoRange::LoadById(int id)
{
    QVariantList row;
    if (!LoadRow(TableName(), Columns(), {{QStringLiteral("ID"), id}}, row)) {
        Clear();
        ID = id;
        return;
    }
    ID = id;
    for (int i = 0; i < ValueCount; ++i)
        Values[i] = row[i].toString();
}

void TRyudoRange::Save()
{
    // The new ID and the row are written under one lock.
    TTransaction transaction;
    if (!RowExists(TableName(), {{QStringLiteral("ID"), ID}}))
        ID = NextId();
    TColumnValues values{{QStringLiteral("ID"), ID}};
    const QStringList columns = Columns();
    for (int i = 0; i < ValueCount; ++i)
        values.append({columns[i], Values[i]});
    InsertOrUpdate(TableName(), {{QStringLiteral("ID"), ID}}, values);
    transaction.Commit();
}

void TRyudoRange::Delete()
{
    DeleteRows(TableName(), {{QStringLiteral("ID"), ID}});
}

int TRyudoRange::NextId() const
{
    return MaxId(TableName()) + 1;
}

bool TRyudoRange::IsEmpty() const
{
    return std::all_of(Values.begin(), Values.end(),
                       [](const QString& value) { return value.isEmpty(); });
}

QList<TFieldDef> TRyudoRange::TableFields()
{
    return Fields();
}
