#include "foundation/TSqliteEngine.h"

#include "foundation/DatabaseTexts.h"
#include "foundation/EKanmuriError.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// The engine's result codes that the program answers with its own text.
enum TResultCode
{
    kBusy = 5,
    kLocked = 6,
    kCorrupt = 11,
    kCantOpen = 14,
    kNotADatabase = 26,
};

int ResultCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    // Extended result codes carry the primary one in their low byte.
    return ok ? code & 0xff : -1;
}

} // namespace

QString TEngine::Quoted(const QString& name)
{
    QString n = name;
    return u'"' + n.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

TSqliteEngine::TSqliteEngine(const QString& folder) : m_folder(folder) {}

QString TSqliteEngine::Driver() const
{
    return QStringLiteral("QSQLITE");
}

void TSqliteEngine::Open(QSqlDatabase& db, const QString& connection, int busyTimeout) const
{
    if (!QFileInfo(m_folder).isDir())
        throw EDatabaseError(
            QStringLiteral(
                "データ格納フォルダ \"%1\" が見つかりません。\n"
                "「環境設定」の「データ格納フォルダの設定」で正しいフォルダを選んでください。")
                .arg(m_folder));
    if (!QSqlDatabase::isDriverAvailable(Driver()))
        throw EDatabaseError(QStringLiteral("データベースのドライバ (QSQLITE) がありません。"));
    if (!db.isValid())
        db = QSqlDatabase::addDatabase(Driver(), connection);
    const QString file = Place();
    db.setDatabaseName(file);
    // Another program may be writing the same data folder: wait for its lock.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout));
    if (!db.open()) {
        db.close();
        throw EDatabaseError(UnreadableText(file));
    }
    try {
        Check(db);
    } catch (...) {
        // The next query tries again, and fails the same way, without a
        // half-checked connection in between.
        db.close();
        throw;
    }
}

void TSqliteEngine::Check(QSqlDatabase& db) const
{
    const auto unreadable = [&](const QSqlQuery&) {
        return EDatabaseError(UnreadableText(Place()));
    };
    QSqlQuery query(db);
    // Reading the schema fails at once for a file that is no database.
    if (!query.exec(QStringLiteral("select count(*) from sqlite_master")) || !query.next())
        throw unreadable(query);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        throw unreadable(query);
    const int version = query.value(0).toInt();
    if (version > TDatabase::LayoutVersion)
        throw EDatabaseError(NewerVersionText(Place(), QString()));
    query.finish();

    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
        throw TDatabase::Failure(query.lastError());
    query.finish();
    // Each commit reaches the disk before the program goes on: a saved day
    // must survive a power cut, whatever the engine's own default is.
    if (!query.exec(QStringLiteral("PRAGMA synchronous=FULL")))
        throw TDatabase::Failure(query.lastError());
    if (version == 0) {
        // A database this program made before it was versioned, or a new one.
        query.exec(QStringLiteral("PRAGMA user_version=%1").arg(TDatabase::LayoutVersion));
    }
}

QString TSqliteEngine::Place() const
{
    return QDir(m_folder).filePath(TDatabase::DatabaseFileName());
}

QString TSqliteEngine::ColumnType(const TFieldDef& field) const
{
    switch (field.type) {
    case TFieldType::Integer:
        return QStringLiteral("INTEGER");
    case TFieldType::String:
        return QStringLiteral("VARCHAR(%1)").arg(field.size);
    case TFieldType::Float:
        return QStringLiteral("DOUBLE");
    case TFieldType::DateTime:
        return QStringLiteral("TIMESTAMP");
    case TFieldType::Boolean:
        return QStringLiteral("BOOLEAN");
    }
    return QString();
}

QString TSqliteEngine::QuoteName(const QString& name) const
{
    return Quoted(name);
}

QStringList TSqliteEngine::CreateTableSql(const QString& table,
                                          const QList<TFieldDef>& fields) const
{
    QStringList columns;
    for (const TFieldDef& f : fields)
        columns << Quoted(f.name) + u' ' + ColumnType(f);
    return {QStringLiteral("create table %1 (%2)")
                .arg(Quoted(table), columns.join(QStringLiteral(", ")))};
}

QStringList TSqliteEngine::CreateIndexSql(const QString& table, const QString& name,
                                          const QStringList& columns) const
{
    QStringList quoted;
    for (const QString& column : columns)
        quoted << Quoted(column);
    return {QStringLiteral("create index if not exists %1 on %2 (%3)")
                .arg(Quoted(name), Quoted(table), quoted.join(QStringLiteral(", ")))};
}

QString TSqliteEngine::IndexExistsSql(const QString&) const
{
    return QString();
}

QString TSqliteEngine::IndexNamesSql() const
{
    return QStringLiteral("select name from sqlite_master where type = 'index' order by name");
}

QString TSqliteEngine::TableExistsSql() const
{
    return QStringLiteral("select count(*) from sqlite_master where type = 'table' "
                          "and lower(name) = lower(:name)");
}

QString TSqliteEngine::TableInfoSql(const QString& table)
{
    return QStringLiteral("PRAGMA table_info(%1)").arg(Quoted(table));
}

QString TSqliteEngine::TableNamesSql()
{
    return QStringLiteral("select name from sqlite_master where type = 'table' and "
                          "name not like 'sqlite%' order by name");
}

QList<TFieldDef> TSqliteEngine::TableColumns(QSqlQuery& query, const QString& table) const
{
    if (!query.exec(TableInfoSql(table)))
        throw TDatabase::Failure(query.lastError());
    return ColumnsListed(query);
}

QList<TFieldDef> TSqliteEngine::ColumnsListed(QSqlQuery& query)
{
    QList<TFieldDef> columns;
    while (query.next()) {
        const QString type = query.value(2).toString().toUpper();
        TFieldDef field{query.value(1).toString(), TFieldType::String};
        if (type.startsWith(QStringLiteral("INT")))
            field.type = TFieldType::Integer;
        else if (type.startsWith(QStringLiteral("DOUBLE")) ||
                 type.startsWith(QStringLiteral("REAL")) ||
                 type.startsWith(QStringLiteral("FLOAT")))
            field.type = TFieldType::Float;
        else if (type.startsWith(QStringLiteral("TIMESTAMP")) ||
                 type.startsWith(QStringLiteral("DATE")))
            field.type = TFieldType::DateTime;
        else if (type.startsWith(QStringLiteral("BOOL")))
            field.type = TFieldType::Boolean;
        else if (const qsizetype open = type.indexOf(u'('); open > 0)
            field.size = type.mid(open + 1, type.indexOf(u')') - open - 1).toInt();
        columns.append(field);
    }
    return columns;
}

QString TSqliteEngine::DateTextSql(const QString& column) const
{
    // SQLite keeps the text "yyyy-MM-dd hh:mm:ss" that BindDateTime wrote.
    return QStringLiteral("replace(substr(%1, 1, 10), '-', '/')").arg(column);
}

QStringList TSqliteEngine::BeginWriteSql() const
{
    return {QStringLiteral("BEGIN IMMEDIATE")};
}

QString TSqliteEngine::BusyTimeoutSql(int milliseconds) const
{
    return QStringLiteral("PRAGMA busy_timeout=%1").arg(milliseconds);
}

TEngineFailure TSqliteEngine::Classify(const QSqlError& error, const QSqlDatabase&) const
{
    switch (ResultCode(error)) {
    case kBusy:
    case kLocked:
        return TEngineFailure::Locked;
    case kCorrupt:
    case kNotADatabase:
        return TEngineFailure::Damaged;
    case kCantOpen:
        return TEngineFailure::Unreadable;
    default:
        return TEngineFailure::Other;
    }
}

QString TSqliteEngine::LockedText() const
{
    return FolderLockedText();
}

QString TSqliteEngine::IntegrityCheckSql() const
{
    return QStringLiteral("PRAGMA quick_check(1)");
}

QString TSqliteEngine::CopySql() const
{
    return QStringLiteral("VACUUM INTO :file");
}

QStringList TSqliteEngine::RefuseInsertsSql(const QString& table, const QString& condition) const
{
    const QString when = condition.isEmpty() ? QString() : QStringLiteral(" when ") + condition;
    return {QStringLiteral("create trigger refuse before insert on ") + table + when +
            QStringLiteral(" begin select raise(abort, 'refused'); end")};
}

QString TSqliteEngine::WrittenOrderSql(const QStringList&) const
{
    // SQLite keeps rows in the order they were inserted.
    return QString();
}
