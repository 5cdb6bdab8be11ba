#include "mix/TRyudoRange.h"

#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"

#include <QStringList>
#include <algorithm>

namespace {

QString Column(int i)
{
    return QStringLiteral("R%1").arg(i);
}

// ":A" for the ID, ":B" ... ":U" for the texts.
QString Param(int position)
{
    return QStringLiteral(":") + QChar(u'A' + position);
}

QList<TFieldDef> Fields()
{
    QList<TFieldDef> fields = {{QStringLiteral("ID"), TFieldType::Integer}};
    for (int i = 0; i < TRyudoRange::ValueCount; ++i)
        fields.append({Column(i), TFieldType::String, 10});
    return fields;
}

} // namespace

TRyudoRange::TRyudoRange(QObject* parent) : QObject(parent) {}

bool TRyudoRange::EnsureTables()
{
    return TDatabase::EnsureTable(TableName(), Fields(), QStringLiteral("データを作成しますか?"),
                                  QStringLiteral("RyudoRange.DB"));
}

void TRyudoRange::Clear()
{
    ID = 0;
    for (QString& value : Values)
        value.clear();
}

void TRyudoRange::LoadById(int id)
{
    QStringList columns;
    for (int i = 0; i < ValueCount; ++i)
        columns << Column(i);
    TQuery q(QStringLiteral("select ID, %1 from RyudoRange where ID = :ID")
                 .arg(columns.join(QStringLiteral(", "))));
    q.Bind(QStringLiteral(":ID"), id).Exec();
    if (!q.Next()) {
        Clear();
        ID = id;
        return;
    }
    ID = q.Integer(0);
    for (int i = 0; i < ValueCount; ++i)
        Values[i] = q.Value(1 + i).toString();
}

void TRyudoRange::Save()
{
    bool found = false;
    {
        TQuery q(QStringLiteral("select ID from RyudoRange where ID = :ID"));
        q.Bind(QStringLiteral(":ID"), ID).Exec();
        found = q.Next();
    }
    QStringList columns, params, sets;
    for (int i = 0; i < ValueCount; ++i) {
        columns << Column(i);
        params << Param(1 + i);
        sets << Column(i) + QStringLiteral(" = ") + Param(1 + i);
    }
    QString sql;
    if (found) {
        sql = QStringLiteral("update RyudoRange set %1 where ID = :A")
                  .arg(sets.join(QStringLiteral(", ")));
    } else {
        ID = NextId();
        sql = QStringLiteral("insert into RyudoRange (ID, %1) values (:A, %2)")
                  .arg(columns.join(QStringLiteral(", ")), params.join(QStringLiteral(", ")));
    }
    TQuery q(sql);
    q.Bind(Param(0), ID);
    for (int i = 0; i < ValueCount; ++i)
        q.BindText(params[i], Values[i]);
    q.Exec();
}

void TRyudoRange::Delete()
{
    TQuery q(QStringLiteral("delete from RyudoRange where ID = :ID"));
    q.Bind(QStringLiteral(":ID"), ID).Exec();
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
