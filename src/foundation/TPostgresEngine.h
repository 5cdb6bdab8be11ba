#pragma once

#include "foundation/TEngine.h"

// A database on a PostgreSQL server. A server folds unquoted names to lower
// case; the record classes' SQL names tables and columns unquoted, so they
// are created in lower case there, and the names as declared are kept in the
// columns' comments.
class TPostgresEngine : public TEngine
{
public:
    explicit TPostgresEngine(const TServerSettings& server);

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

    // Every write transaction takes this lock first, so that saves that read
    // before they write queue as they do on SQLite.
    static QString WriteLockSql();
    // The table holding the layout version.
    static QString LayoutTable();
    // Sets `db` up to connect to `server`.
    static void Configure(QSqlDatabase& db, const TServerSettings& server);
    // Why `server` could not be reached, in the user's words, from the
    // driver's text (libpq gives no codes for failed connections).
    static QString ConnectProblem(const TServerSettings& server, const QSqlError& error);
    // Connects to `server` apart from the program's own connection: an empty
    // text when it works, otherwise why not.
    static QString Test(const TServerSettings& server);

private:
    int StoredLayoutVersion(QSqlDatabase& db) const;

    TServerSettings m_server;
};
