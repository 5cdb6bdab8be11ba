#include "foundation/TPostgresEngine.h"

#include "foundation/DatabaseTexts.h"
#include "foundation/EKanmuriError.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

QString SqlText(const QString& text)
{
    QString t = text;
    return u'\'' + t.replace(u'\'', QStringLiteral("''")) + u'\'';
}

TFieldType FieldTypeOf(const QString& serverType)
{
    if (serverType == QStringLiteral("integer") || serverType == QStringLiteral("bigint"))
        return TFieldType::Integer;
    if (serverType == QStringLiteral("smallint") || serverType == QStringLiteral("boolean"))
        return TFieldType::Boolean;
    if (serverType == QStringLiteral("double precision") || serverType == QStringLiteral("real") ||
        serverType.startsWith(QStringLiteral("numeric")))
        return TFieldType::Float;
    if (serverType.startsWith(QStringLiteral("timestamp")) || serverType == QStringLiteral("date"))
        return TFieldType::DateTime;
    return TFieldType::String;
}

// A column's comment: its name as declared, and a text's size ("Kikakumei 30").
QString DeclaredAs(const TFieldDef& field)
{
    return field.type == TFieldType::String && field.size > 0
               ? field.name + u' ' + QString::number(field.size)
               : field.name;
}

// A column listed by the catalogue query: its stored name, its type, its
// comment and its type modifier.
TFieldDef ListedColumn(const QSqlQuery& query)
{
    // The comment is the name, and for a text its size after a blank; a name
    // may hold blanks itself ("Species No").
    QString declared = query.value(2).toString();
    const QString stored = query.value(0).toString();
    const TFieldType type = FieldTypeOf(query.value(1).toString());
    int declaredSize = 0;
    if (const qsizetype blank = declared.lastIndexOf(u' ');
        type == TFieldType::String && blank > 0) {
        bool number = false;
        const int size = declared.mid(blank + 1).toInt(&number);
        if (number) {
            declaredSize = size;
            declared.truncate(blank);
        }
    }
    TFieldDef field{declared.compare(stored, Qt::CaseInsensitive) == 0 ? declared : stored, type};
    if (field.type == TFieldType::String)
        field.size = query.value(3).toInt() > 4 ? query.value(3).toInt() - 4 // varchar(n)
                                                : declaredSize;
    return field;
}

// A failure the server itself answered; anything else (no code, a broken or
// closed connection, the server shutting down) means the connection is gone.
bool ServerAnswered(const QSqlError& error)
{
    const QString state = error.nativeErrorCode();
    return state.size() == 5 && !state.startsWith(QStringLiteral("08")) &&
           !state.startsWith(QStringLiteral("57P"));
}

bool Incomplete(const TServerSettings& server)
{
    return server.host.trimmed().isEmpty() || server.database.trimmed().isEmpty() ||
           server.user.trimmed().isEmpty();
}

} // namespace

TPostgresEngine::TPostgresEngine(const TServerSettings& server) : m_server(server) {}

QString TPostgresEngine::Driver() const
{
    return QStringLiteral("QPSQL");
}

QString TPostgresEngine::WriteLockSql()
{
    return QStringLiteral("select pg_advisory_xact_lock(4705982460518745905)");
}

QString TPostgresEngine::LayoutTable()
{
    return QStringLiteral("kanmurilayout");
}

void TPostgresEngine::Configure(QSqlDatabase& db, const TServerSettings& server)
{
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setDatabaseName(server.database);
    db.setUserName(server.user);
    db.setPassword(QString());
    // The server's notes ("table does not exist, skipping") are no errors.
    db.setConnectOptions(QStringLiteral("connect_timeout=10;application_name=pTarmak;"
                                        "options='-c client_min_messages=warning'"));
}

QString TPostgresEngine::ConnectProblem(const TServerSettings& server, const QSqlError& error)
{
    const QString detail = error.databaseText().trimmed().isEmpty()
                               ? error.text().trimmed()
                               : error.databaseText().trimmed();
    const QString d = detail.toLower();
    QString why;
    if (Incomplete(server))
        why = QStringLiteral("サーバー名、データベース名、ユーザー名をすべて指定してください。");
    else if (d.contains(QStringLiteral("could not translate host name")) ||
             d.contains(QStringLiteral("name or service not known")))
        why = QStringLiteral("サーバー名 \"%1\" が見つかりません。").arg(server.host);
    else if (d.contains(QStringLiteral("connection refused")) ||
             d.contains(QStringLiteral("no such file or directory")))
        why = QStringLiteral("サーバーが動いていないか、サーバー名かポート番号 (%1) が違います。")
                  .arg(server.port);
    else if (d.contains(QStringLiteral("timeout")) || d.contains(QStringLiteral("timed out")))
        why = QStringLiteral("サーバーから応答がありません。ネットワークとファイアウォールを"
                             "確かめてください。");
    else if (d.contains(QStringLiteral("password")) || d.contains(QStringLiteral("authentication")))
        why = QStringLiteral("ユーザー \"%1\" を認証できません。パスワードは、ユーザーごとの"
                             "パスワードファイル (~/.pgpass、Windows では "
                             "%APPDATA%\\postgresql\\pgpass.conf) か環境変数 PGPASSWORD に"
                             "置いてください。")
                  .arg(server.user);
    else if (d.contains(QStringLiteral("database")) && d.contains(QStringLiteral("does not exist")))
        why = QStringLiteral("データベース \"%1\" がサーバーにありません。").arg(server.database);
    else if (d.contains(QStringLiteral("role")) && d.contains(QStringLiteral("does not exist")))
        why = QStringLiteral("ユーザー \"%1\" がサーバーにありません。").arg(server.user);
    else
        why = QStringLiteral("サーバーに接続できません。");
    return detail.isEmpty() ? why : why + QStringLiteral("\n(%1)").arg(detail);
}

QString TPostgresEngine::Test(const TServerSettings& server)
{
    const QString driver = QStringLiteral("QPSQL");
    if (!QSqlDatabase::isDriverAvailable(driver))
        return QStringLiteral("データベースサーバーのドライバ (QPSQL) がありません。");
    const QString name = QStringLiteral("kanmuri-test-connection");
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        Configure(db, server);
        if (Incomplete(server) || !db.open()) {
            problem = ConnectProblem(server, db.lastError());
        } else {
            QSqlQuery query(db);
            if (!query.exec(QStringLiteral("select 1")))
                problem = ConnectProblem(server, query.lastError());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return problem;
}

void TPostgresEngine::Open(QSqlDatabase& db, const QString& connection, int busyTimeout) const
{
    if (!QSqlDatabase::isDriverAvailable(Driver()))
        throw EDatabaseError(CannotConnectText(
            m_server, QStringLiteral("データベースサーバーのドライバ (QPSQL) がありません。")));
    if (!db.isValid())
        db = QSqlDatabase::addDatabase(Driver(), connection);
    Configure(db, m_server);
    if (m_server.host.isEmpty() || m_server.database.isEmpty() || m_server.user.isEmpty() ||
        !db.open()) {
        const QString problem = ConnectProblem(m_server, db.lastError());
        db.close();
        throw EDatabaseError(CannotConnectText(m_server, problem));
    }
    try {
        QSqlQuery query(db);
        // Saves wait for another PC's lock as long as they would on SQLite.
        if (!query.exec(BusyTimeoutSql(busyTimeout)))
            throw TDatabase::Failure(query.lastError());
        if (StoredLayoutVersion(db) > TDatabase::LayoutVersion)
            throw EDatabaseError(NewerVersionText(m_server.Name(), QString()));
    } catch (...) {
        db.close();
        throw;
    }
}

// Creates the layout table on a new server database (once, whoever comes
// first) and returns the layout version stored there.
int TPostgresEngine::StoredLayoutVersion(QSqlDatabase& db) const
{
    QSqlQuery query(db);
    const QString exists =
        QStringLiteral("select count(*) from information_schema.tables where table_schema = "
                       "current_schema() and table_name = '%1'")
            .arg(LayoutTable());
    if (!query.exec(exists) || !query.next())
        throw TDatabase::Failure(query.lastError());
    if (query.value(0).toInt() == 0) {
        if (!query.exec(QStringLiteral("begin")))
            throw TDatabase::Failure(query.lastError());
        const bool made =
            query.exec(WriteLockSql()) &&
            query.exec(QStringLiteral("create table if not exists %1 (version integer)")
                           .arg(LayoutTable())) &&
            query.exec(QStringLiteral("insert into %1 (version) select %2 where not exists "
                                      "(select 1 from %1)")
                           .arg(LayoutTable())
                           .arg(TDatabase::LayoutVersion)) &&
            query.exec(QStringLiteral("commit"));
        if (!made) {
            const QSqlError error = query.lastError();
            QSqlQuery(db).exec(QStringLiteral("rollback"));
            throw TDatabase::Failure(error);
        }
    }
    if (!query.exec(QStringLiteral("select max(version) from %1").arg(LayoutTable())) ||
        !query.next())
        throw TDatabase::Failure(query.lastError());
    return query.value(0).toInt();
}

QString TPostgresEngine::Place() const
{
    return m_server.Name();
}

QString TPostgresEngine::ColumnType(const TFieldDef& field) const
{
    switch (field.type) {
    case TFieldType::Integer:
        return QStringLiteral("integer");
    case TFieldType::String:
        // Without a limit, as SQLite keeps a longer text whole (the declared
        // size is in the column's comment); in byte order, as SQLite sorts,
        // whatever the server's locale.
        return QStringLiteral("varchar collate \"C\"");
    case TFieldType::Float:
        return QStringLiteral("double precision");
    case TFieldType::DateTime:
        return QStringLiteral("timestamp");
    case TFieldType::Boolean:
        // Stored as 0/1 as on SQLite, so that SQL comparing with 0 and 1 works.
        return QStringLiteral("smallint");
    }
    return QString();
}

QString TPostgresEngine::QuoteName(const QString& name) const
{
    return Quoted(name.toLower());
}

QStringList TPostgresEngine::CreateTableSql(const QString& table,
                                            const QList<TFieldDef>& fields) const
{
    QStringList columns;
    for (const TFieldDef& f : fields)
        columns << QuoteName(f.name) + u' ' + ColumnType(f);
    QStringList statements{QStringLiteral("create table %1 (%2)")
                               .arg(QuoteName(table), columns.join(QStringLiteral(", ")))};
    for (const TFieldDef& f : fields)
        statements << QStringLiteral("comment on column %1.%2 is %3")
                          .arg(QuoteName(table), QuoteName(f.name), SqlText(DeclaredAs(f)));
    return statements;
}

QStringList TPostgresEngine::CreateIndexSql(const QString& table, const QString& name,
                                            const QStringList& columns) const
{
    QStringList quoted;
    for (const QString& column : columns)
        quoted << QuoteName(column);
    return {QStringLiteral("create index %1 on %2 (%3)")
                .arg(QuoteName(name), QuoteName(table), quoted.join(QStringLiteral(", "))),
            QStringLiteral("comment on index %1 is %2").arg(QuoteName(name), SqlText(name))};
}

QString TPostgresEngine::IndexExistsSql(const QString& name) const
{
    return QStringLiteral("select count(*) from pg_indexes where schemaname = "
                          "current_schema() and indexname = %1")
        .arg(SqlText(name.toLower()));
}

QString TPostgresEngine::IndexNamesSql() const
{
    return QStringLiteral("select obj_description(c.oid, 'pg_class') from pg_class c join "
                          "pg_namespace n on n.oid = c.relnamespace where c.relkind = 'i' and "
                          "n.nspname = current_schema() order by 1");
}

QString TPostgresEngine::TableExistsSql() const
{
    return QStringLiteral("select count(*) from information_schema.tables where "
                          "table_schema = current_schema() and lower(table_name) = "
                          "lower(:name)");
}

QList<TFieldDef> TPostgresEngine::TableColumns(QSqlQuery& query, const QString& table) const
{
    // The names as the program declared them are kept in the columns'
    // comments; the server itself only knows them in lower case.
    if (!query.prepare(QStringLiteral(
            "select a.attname, format_type(a.atttypid, a.atttypmod), "
            "col_description(a.attrelid, a.attnum), a.atttypmod from pg_attribute a "
            "join pg_class c on c.oid = a.attrelid join pg_namespace n on n.oid = "
            "c.relnamespace where n.nspname = current_schema() and c.relkind = 'r' and "
            "lower(c.relname) = lower(:table) and a.attnum > 0 and not a.attisdropped "
            "order by a.attnum")))
        throw TDatabase::Failure(query.lastError());
    query.bindValue(QStringLiteral(":table"), table);
    if (!query.exec())
        throw TDatabase::Failure(query.lastError());
    QList<TFieldDef> columns;
    while (query.next())
        columns.append(ListedColumn(query));
    return columns;
}

QString TPostgresEngine::DateTextSql(const QString& column) const
{
    // A server's timestamp has no text of its own.
    return QStringLiteral("to_char(%1, 'YYYY/MM/DD')").arg(column);
}

QStringList TPostgresEngine::BeginWriteSql() const
{
    // Plain reads outside a transaction never wait for the lock.
    return {QStringLiteral("begin"), WriteLockSql()};
}

QString TPostgresEngine::BusyTimeoutSql(int milliseconds) const
{
    return QStringLiteral("set lock_timeout = %1").arg(milliseconds);
}

TEngineFailure TPostgresEngine::Classify(const QSqlError& error, const QSqlDatabase& db) const
{
    const QString state = error.nativeErrorCode();
    // Lock not available, deadlock, serialization failure.
    if (state == QStringLiteral("55P03") || state == QStringLiteral("40P01") ||
        state == QStringLiteral("40001"))
        return TEngineFailure::Locked;
    if (state == QStringLiteral("22001"))
        return TEngineFailure::TooLong;
    bool lost = !ServerAnswered(error);
    if (lost && state.isEmpty() && db.isOpen()) {
        // Some failures of the driver itself carry no code: ask the server.
        QSqlQuery probe(db);
        lost = !probe.exec(QStringLiteral("select 1")) && !ServerAnswered(probe.lastError());
    }
    return lost ? TEngineFailure::Lost : TEngineFailure::Other;
}

QString TPostgresEngine::LockedText() const
{
    return ServerLockedText();
}

QString TPostgresEngine::IntegrityCheckSql() const
{
    // A server keeps its own files sound.
    return QString();
}

QString TPostgresEngine::CopySql() const
{
    return QString();
}

QStringList TPostgresEngine::RefuseInsertsSql(const QString& table, const QString& condition) const
{
    const QString when =
        condition.isEmpty() ? QString() : QStringLiteral(" when (") + condition + u')';
    return {QStringLiteral("create or replace function refuse() returns trigger language plpgsql "
                           "as 'begin raise exception ''refused''; end'"),
            QStringLiteral("create trigger refuse before insert on ") + table +
                QStringLiteral(" for each row") + when +
                QStringLiteral(" execute function refuse()")};
}

QString TPostgresEngine::WrittenOrderSql(const QStringList& columns) const
{
    // A server moves a row it updates to the end.
    return columns.contains(QStringLiteral("ID"), Qt::CaseInsensitive)
               ? QStringLiteral(" order by ID, ctid")
               : QString();
}
