#pragma once

#include "foundation/DateTime.h"

#include <QSqlQuery>
#include <QString>
#include <QVariant>

// One SQL statement with named parameters (":Name") on the alias's database.
// Lives for one operation: create, bind, Exec, read, let it go. Every failure
// throws EDatabaseError with the driver's text.
class TQuery
{
public:
    explicit TQuery(const QString& sql);

    TQuery& Bind(const QString& name, const QVariant& value);
    TQuery& BindText(const QString& name, const QString& value);
    TQuery& BindDateTime(const QString& name, TDateTime value);

    // Runs the statement; the first row (if any) is not yet current.
    TQuery& Exec();
    bool Next();

    QVariant Value(const QString& field) const;
    QVariant Value(int index) const;
    QString Text(const QString& field) const;
    double Number(const QString& field) const;
    int Integer(const QString& field) const;
    int Integer(int index) const;
    bool Boolean(const QString& field) const;
    TDateTime DateTimeValue(const QString& field) const;

    int RowsAffected() const;

private:
    [[noreturn]] void Fail() const;
    QVariant AsStored(const QVariant& value, bool null) const;
    QString m_sql;
    QSqlQuery m_query;
};
