#pragma once

#include "foundation/TEngine.h"

// A data folder's SQLite database, kanmuri.sqlite.
class TSqliteEngine : public TEngine
{
public:
    // The engine of the database in `folder` (with or without a trailing
    // separator).
    explicit TSqliteEngine(const QString& folder);

    QString Driver() const override;
    void Open(QSqlDatabase& db, const QString& connection, int busyTimeout) const override;
    QString Place() const override;

    QString ColumnType(const TFieldDef& field) const override;
    QString QuoteName(const QString& name) const override;
    QStringList CreateTableSql(const QString& table, const QList<TFieldDef>& fields) const override;
    QStringList CreateIndexSql(const QString& table, const QString& name,
                               const QStringList& columns) const override;
    QString IndexExistsSql(const QString& name) const override;
    QString IndexNamesSql() const override;
    QString TableExistsSql() const override;
    QList<TFieldDef> TableColumns(QSqlQuery& query, const QString& table) const override;
    QString DateTextSql(const QString& column) const override;

    QStringList BeginWriteSql() const override;
    QString BusyTimeoutSql(int milliseconds) const override;
    TEngineFailure Classify(const QSqlError& error, const QSqlDatabase& db) const override;
    QString LockedText() const override;

    QString IntegrityCheckSql() const override;
    QString CopySql() const override;

    QStringList RefuseInsertsSql(const QString& table, const QString& condition) const override;
    QString WrittenOrderSql(const QStringList& columns) const override;

    // The statement listing the columns of `table`, and the columns it has
    // just listed.
    static QString TableInfoSql(const QString& table);
    static QList<TFieldDef> ColumnsListed(QSqlQuery& query);
    // The tables of a database, by name.
    static QString TableNamesSql();

private:
    void Check(QSqlDatabase& db) const;

    QString m_folder;
};
