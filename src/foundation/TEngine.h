#pragma once

#include "foundation/TDatabase.h"

#include <QList>
#include <QString>
#include <QStringList>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

// What a failed statement means for the user, whatever the engine answered.
enum class TEngineFailure
{
    Locked,     // another program held the write lock past the timeout
    Damaged,    // the database is damaged: left alone until the folder changes
    Unreadable, // the database file could not be opened this time
    Lost,       // the connection to the server is gone
    TooLong,    // a text longer than its column
    Other,      // the engine's own text says it
};

// What differs between the engines an alias can name. TDatabase picks one
// when it connects; the statements are built here as text, so that they can
// be checked without a database.
class TEngine
{
public:
    virtual ~TEngine() = default;

    // The Qt SQL driver.
    virtual QString Driver() const = 0;
    // Opens `db`, adding it as `connection` when it is not valid yet, and
    // checks that this program can use what it finds there; saves wait up to
    // `busyTimeout` for another program's lock. Throws EDatabaseError in the
    // user's words.
    virtual void Open(QSqlDatabase& db, const QString& connection, int busyTimeout) const = 0;
    // The database as messages name it: its file, or its server.
    virtual QString Place() const = 0;

    virtual QString ColumnType(const TFieldDef& field) const = 0;
    // `name` (a table, column or index) as a statement names it.
    virtual QString QuoteName(const QString& name) const = 0;
    virtual QStringList CreateTableSql(const QString& table,
                                       const QList<TFieldDef>& fields) const = 0;
    // The statements that add an index, and a count of the indexes of that
    // name (empty when the statements themselves skip an existing index).
    virtual QStringList CreateIndexSql(const QString& table, const QString& name,
                                       const QStringList& columns) const = 0;
    virtual QString IndexExistsSql(const QString& name) const = 0;
    // The names of the indexes as the program declared them, sorted.
    virtual QString IndexNamesSql() const = 0;
    // A count of the tables named :name, in any case.
    virtual QString TableExistsSql() const = 0;
    // The stored columns of `table` in their order, with their types.
    virtual QList<TFieldDef> TableColumns(QSqlQuery& query, const QString& table) const = 0;
    // A date-time `column` as the date the user sees, "yyyy/MM/dd".
    virtual QString DateTextSql(const QString& column) const = 0;

    // The statements that begin a write transaction and take the write lock.
    virtual QStringList BeginWriteSql() const = 0;
    virtual QString BusyTimeoutSql(int milliseconds) const = 0;
    // What a failed statement on `db` means.
    virtual TEngineFailure Classify(const QSqlError& error, const QSqlDatabase& db) const = 0;
    // The text for a lock that did not come within the timeout.
    virtual QString LockedText() const = 0;

    // A check that reads the whole database and answers "ok"; empty when the
    // engine keeps its files sound itself.
    virtual QString IntegrityCheckSql() const = 0;
    // A statement writing a copy of the database into the file :file; empty
    // when the engine has its own backups.
    virtual QString CopySql() const = 0;

    // For tests: the statements that make every insert into `table` fail
    // (when `condition` holds on the new row), and the order in which a
    // table's rows come back as they were written.
    virtual QStringList RefuseInsertsSql(const QString& table, const QString& condition) const = 0;
    virtual QString WrittenOrderSql(const QStringList& columns) const = 0;

    // `name` in double quotes, as it is.
    static QString Quoted(const QString& name);
};
