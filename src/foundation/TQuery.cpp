#include "foundation/TQuery.h"

#include "foundation/EKanmuriError.h"
#include "foundation/TDatabase.h"

#include <QSqlError>

TQuery::TQuery(const QString& sql) : m_sql(sql), m_query(TDatabase::Connection())
{
    // Results are read once, front to back: no row cache.
    m_query.setForwardOnly(true);
    if (!m_query.prepare(sql))
        Fail();
}

void TQuery::Fail() const
{
    throw TDatabase::Failure(m_query.lastError(), m_sql);
}

TQuery& TQuery::Bind(const QString& name, const QVariant& value)
{
    // A null text would be stored as NULL and then never equal "" in a
    // lookup; the tables keep empty texts as empty.
    if (value.typeId() == QMetaType::QString && value.toString().isNull())
        m_query.bindValue(name, QStringLiteral(""));
    else
        m_query.bindValue(name, value);
    return *this;
}

TQuery& TQuery::BindText(const QString& name, const QString& value)
{
    return Bind(name, QVariant(value.isNull() ? QStringLiteral("") : value));
}

TQuery& TQuery::BindDateTime(const QString& name, TDateTime value)
{
    return Bind(name, DateTimeToSqlText(value));
}

TQuery& TQuery::Exec()
{
    if (!m_query.exec())
        Fail();
    return *this;
}

bool TQuery::Next()
{
    return m_query.next();
}

QVariant TQuery::Value(const QString& field) const
{
    return m_query.value(field);
}

QVariant TQuery::Value(int index) const
{
    return m_query.value(index);
}

QString TQuery::Text(const QString& field) const
{
    return Value(field).toString();
}

double TQuery::Number(const QString& field) const
{
    return Value(field).toDouble();
}

int TQuery::Integer(const QString& field) const
{
    return Value(field).toInt();
}

int TQuery::Integer(int index) const
{
    return Value(index).toInt();
}

bool TQuery::Boolean(const QString& field) const
{
    return Value(field).toInt() != 0;
}

TDateTime TQuery::DateTimeValue(const QString& field) const
{
    const QVariant v = Value(field);
    if (v.isNull())
        return 0.0;
    if (v.typeId() == QMetaType::QString)
        return SqlTextToDateTime(v.toString());
    return v.toDouble();
}

int TQuery::RowsAffected() const
{
    return m_query.numRowsAffected();
}
