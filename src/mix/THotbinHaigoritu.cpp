#include "mix/THotbinHaigoritu.h"

#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"

#include <QStringList>

namespace {

QString Column(int i)
{
    return QStringLiteral("D%1").arg(i, 2, 10, QLatin1Char('0'));
}

// ":A" for the ID, ":B" ... ":O" for the ratios.
QString Param(int position)
{
    return QStringLiteral(":") + QChar(u'A' + position);
}

QList<TFieldDef> Fields()
{
    QList<TFieldDef> fields = {{QStringLiteral("ID"), TFieldType::Integer}};
    for (int i = 0; i < THotbinHaigoritu::ColumnCount; ++i)
        fields.append({Column(i), TFieldType::Float});
    return fields;
}

} // namespace

THotbinHaigoritu::THotbinHaigoritu(QObject* parent) : QObject(parent) {}

bool THotbinHaigoritu::EnsureTables()
{
    return TDatabase::EnsureTable(TableName(), Fields(), QStringLiteral("データを作成しますか?"),
                                  QStringLiteral("HBHaigoritu.DB"));
}

void THotbinHaigoritu::Clear()
{
    ID = 0;
    D.fill(0);
}

void THotbinHaigoritu::LoadById(int id)
{
    QStringList columns;
    for (int i = 0; i < ColumnCount; ++i)
        columns << Column(i);
    TQuery q(QStringLiteral("select ID, %1 from HBHaigoritu where ID = :ID")
                 .arg(columns.join(QStringLiteral(", "))));
    q.Bind(QStringLiteral(":ID"), id).Exec();
    if (!q.Next()) {
        Clear();
        ID = id;
        return;
    }
    ID = q.Integer(0);
    for (int i = 0; i < ColumnCount; ++i)
        D[i] = q.Value(1 + i).toDouble();
}

void THotbinHaigoritu::Save()
{
    bool found = false;
    {
        TQuery q(QStringLiteral("select ID from HBHaigoritu where ID = :ID"));
        q.Bind(QStringLiteral(":ID"), ID).Exec();
        found = q.Next();
    }
    QStringList columns, params, sets;
    for (int i = 0; i < ColumnCount; ++i) {
        columns << Column(i);
        params << Param(1 + i);
        sets << Column(i) + QStringLiteral(" = ") + Param(1 + i);
    }
    QString sql;
    if (found) {
        sql = QStringLiteral("update HBHaigoritu set %1 where ID = :A")
                  .arg(sets.join(QStringLiteral(", ")));
    } else {
        ID = NextId();
        sql = QStringLiteral("insert into HBHaigoritu (ID, %1) values (:A, %2)")
                  .arg(columns.join(QStringLiteral(", ")), params.join(QStringLiteral(", ")));
    }
    TQuery q(sql);
    q.Bind(Param(0), ID);
    for (int i = 0; i < ColumnCount; ++i)
        q.Bind(params[i], D[i]);
    q.Exec();
}

void THotbinHaigoritu::Delete()
{
    TQuery q(QStringLiteral("delete from HBHaigoritu where ID = :ID"));
    q.Bind(QStringLiteral(":ID"), ID).Exec();
}

int THotbinHaigoritu::NextId() const
{
    return MaxId(TableName()) + 1;
}
