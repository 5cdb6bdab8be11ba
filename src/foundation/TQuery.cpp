#include "foundation/TQuery.h"

#include "foundation/EKanmuriError.h"
#include "foundation/TDatabase.h"

#include <QSqlDriver>
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
    else if (value.typeId() == QMetaType::Bool)
        m_query.bindValue(name, value.toBool() ? 1 : 0); // booleans are stored as 0/1
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

// Values are given as SQLite gives them, whatever the engine: a date-time as
// the text it was stored as, and no value as a null text (a server's driver
// gives its timestamp type, and a typed zero for no value).
QVariant TQuery::AsStored(const QVariant& value, bool null) const
{
    if (m_query.driver()->dbmsType() != QSqlDriver::PostgreSQL)
        return value;
    if (null)
        return QVariant(QMetaType::fromType<QString>());
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    return value;
}

QVariant TQuery::Value(const QString& field) const
{
    return AsStored(m_query.value(field), m_query.isNull(field));
}

QVariant TQuery::Value(int index) const
{
    return AsStored(m_query.value(index), m_query.isNull(index));
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
