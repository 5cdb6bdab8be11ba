#include "foundation/TDatabase.h"

#include "foundation/ConfigFolder.h"
#include "foundation/EKanmuriError.h"
#include "foundation/TBackup.h"
#include "foundation/TIniFile.h"
#include "foundation/TPrompt.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace {

const QString kConnection = QStringLiteral("kanmuri");
// A database found damaged is not touched again until the folder changes:
// every later use gives the same message instead of meeting the damage
// somewhere else.
QString damagedFile;
// The open database has passed its integrity check.
bool integrityChecked = false;
int busyTimeout = 10000;
const QString kPath = QStringLiteral("PATH");
const QString kType = QStringLiteral("TYPE");
const QString kPostgres = QStringLiteral("POSTGRES");
const QString kServerDriver = QStringLiteral("QPSQL");
// The open connection is to a server.
bool serverOpen = false;
// A write transaction is open on the connection.
bool writing = false;
// The server connection was lost inside a write transaction: nothing may run
// on a new connection until that transaction has been given up, or its later
// statements would be saved without the earlier ones.
bool lostInWrite = false;
// Every write transaction on a server takes this lock first, so that saves
// that read before they write queue as they do on SQLite.
const QString kWriteLock = QStringLiteral("select pg_advisory_xact_lock(4705982460518745905)");
const QString kLayoutTable = QStringLiteral("kanmurilayout");

TIniFile engineConfig()
{
    return TIniFile(ConfigFile(QStringLiteral("engine.ini")));
}

bool EndsWithSeparator(const QString& folder)
{
#ifdef Q_OS_WIN
    return folder.endsWith(u'\\') || folder.endsWith(u'/');
#else
    return folder.endsWith(u'/');
#endif
}

// A server folds unquoted names to lower case; the record classes' SQL names
// tables and columns unquoted, so they are created in lower case there.
QString ServerName(const QString& name)
{
    QString n = name.toLower();
    return u'"' + n.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString ServerType(const TFieldDef& field)
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

QString SqlType(const TFieldDef& field)
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

// The engine's result codes that the program answers with its own text.
enum TEngineCode
{
    kBusy = 5,
    kLocked = 6,
    kCorrupt = 11,
    kCantOpen = 14,
    kNotADatabase = 26,
};

int EngineCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    // Extended result codes carry the primary one in their low byte.
    return ok ? code & 0xff : -1;
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString LockedText()
{
    QString folder;
    try {
        folder = TDatabase::AliasFolder(kAlias);
    } catch (const EKanmuriError&) {
    }
    return QStringLiteral("データ格納フォルダ \"%1\" のデータベースを、ほかのプログラムが"
                          "長く使っているため、書き込めませんでした。\n"
                          "この操作は保存されていません。しばらく待ってから、もう一度やり直して"
                          "ください。")
        .arg(Native(folder));
}

QString UnreadableText(const QString& file)
{
    const QString backup = TBackup::Newest(QFileInfo(file).absolutePath());
    QString text = QStringLiteral("データベース \"%1\" が壊れているか読み取れないため、"
                                  "データを読み込めません。\n\n")
                       .arg(Native(file));
    if (backup.isEmpty()) {
        text += QStringLiteral("バックアップはまだありません。\n");
    } else {
        text += QStringLiteral("最新のバックアップ: \"%1\"\n"
                               "元に戻すには、pTarmak を終了し、壊れたファイル \"%2\" を"
                               "別の名前に変えてから、バックアップを \"%2\" という名前で"
                               "データ格納フォルダにコピーしてください。\n")
                    .arg(Native(backup), TDatabase::DatabaseFileName());
    }
    return text + QStringLiteral("別のフォルダを使うには「環境設定」の「データ格納フォルダの設定」"
                                 "で選び直してください。");
}

QString NewerVersionText(const QString& file, const QString& detail)
{
    return QStringLiteral("データベース \"%1\" は、この pTarmak より新しいバージョンで"
                          "作られているため使えません%2。\n"
                          "データを守るため、このファイルには書き込みません。新しいバージョンの "
                          "pTarmak を使うか、「環境設定」の「データ格納フォルダの設定」で別の"
                          "フォルダを選んでください。")
        .arg(Native(file), detail);
}

QString Quoted(const QString& name)
{
    QString n = name;
    return u'"' + n.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// A table, column or index name for the open engine.
QString NameFor(const QString& name)
{
    return serverOpen ? ServerName(name) : Quoted(name);
}

QString SqlText(const QString& text)
{
    QString t = text;
    return u'\'' + t.replace(u'\'', QStringLiteral("''")) + u'\'';
}

QString ServerNameOfAlias()
{
    try {
        return TDatabase::AliasServer(kAlias).Name();
    } catch (const EKanmuriError&) {
        return QString();
    }
}

QString ServerLockedText()
{
    return QStringLiteral("データベースサーバー \"%1\" のデータを、ほかのパソコンのプログラムが"
                          "長く使っているため、書き込めませんでした。\n"
                          "この操作は保存されていません。しばらく待ってから、もう一度やり直して"
                          "ください。")
        .arg(ServerNameOfAlias());
}

QString LostText(const QString& server)
{
    return QStringLiteral("データベースサーバー \"%1\" との接続が切れました（サーバーの再起動や"
                          "ネットワークの切断）。\n"
                          "この操作は保存されていません。サーバーとネットワークを確かめてから、"
                          "もう一度やり直してください。次の操作で接続し直します。")
        .arg(server);
}

QString CommitUnknownText(const QString& server)
{
    return QStringLiteral("データベースサーバー \"%1\" との接続が、保存を確定している途中で"
                          "切れました（サーバーの再起動やネットワークの切断）。\n"
                          "サーバーが保存を終えたかどうかは分かりません。サーバーとネットワークを"
                          "確かめて接続し直してから、この日のデータが保存されているかを確かめて"
                          "ください。次の操作で接続し直します。")
        .arg(server);
}

QString TooLongText()
{
    return QStringLiteral("入力された文字が、データベースサーバーの列に入る長さを超えています。\n"
                          "この操作は保存されていません。短くしてから、もう一度やり直して"
                          "ください。");
}

// Why a server could not be reached, in the user's words, from the driver's
// text (libpq gives no codes for failed connections).
QString ConnectProblem(const TServerSettings& server, const QSqlError& error)
{
    const QString detail = error.databaseText().trimmed().isEmpty()
                               ? error.text().trimmed()
                               : error.databaseText().trimmed();
    const QString d = detail.toLower();
    QString why;
    if (server.host.trimmed().isEmpty() || server.database.trimmed().isEmpty() ||
        server.user.trimmed().isEmpty())
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

QString CannotConnectText(const TServerSettings& server, const QString& problem)
{
    return QStringLiteral("データベースサーバー \"%1\" に接続できません。\n%2\n"
                          "「環境設定」で接続先を確かめてください。")
        .arg(server.Name(), problem);
}

// A failure the server itself answered; anything else (no code, a broken or
// closed connection, the server shutting down) means the connection is gone.
bool ServerAnswered(const QSqlError& error)
{
    const QString state = error.nativeErrorCode();
    return state.size() == 5 && !state.startsWith(QStringLiteral("08")) &&
           !state.startsWith(QStringLiteral("57P"));
}

void ConfigureServer(QSqlDatabase& db, const TServerSettings& server)
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

// Creates the layout table on a new server database (once, whoever comes
// first) and returns the layout version stored there.
int ServerLayoutVersion(QSqlDatabase& db)
{
    QSqlQuery query(db);
    const QString exists =
        QStringLiteral("select count(*) from information_schema.tables where table_schema = "
                       "current_schema() and table_name = '%1'")
            .arg(kLayoutTable);
    if (!query.exec(exists) || !query.next())
        throw TDatabase::Failure(query.lastError());
    if (query.value(0).toInt() == 0) {
        if (!query.exec(QStringLiteral("begin")))
            throw TDatabase::Failure(query.lastError());
        const bool made =
            query.exec(kWriteLock) &&
            query.exec(QStringLiteral("create table if not exists %1 (version integer)")
                           .arg(kLayoutTable)) &&
            query.exec(QStringLiteral("insert into %1 (version) select %2 where not exists "
                                      "(select 1 from %1)")
                           .arg(kLayoutTable)
                           .arg(TDatabase::LayoutVersion)) &&
            query.exec(QStringLiteral("commit"));
        if (!made) {
            const QSqlError error = query.lastError();
            QSqlQuery(db).exec(QStringLiteral("rollback"));
            throw TDatabase::Failure(error);
        }
    }
    if (!query.exec(QStringLiteral("select max(version) from %1").arg(kLayoutTable)) ||
        !query.next())
        throw TDatabase::Failure(query.lastError());
    return query.value(0).toInt();
}

// A column's comment on a server: its name as declared, and a text's size
// ("Kikakumei 30").
QString DeclaredAs(const TFieldDef& field)
{
    return field.type == TFieldType::String && field.size > 0
               ? field.name + u' ' + QString::number(field.size)
               : field.name;
}

QStringList ServerCreateStatements(const QString& table, const QList<TFieldDef>& fields)
{
    QStringList columns;
    for (const TFieldDef& f : fields)
        columns << ServerName(f.name) + u' ' + ServerType(f);
    QStringList statements{QStringLiteral("create table %1 (%2)")
                               .arg(ServerName(table), columns.join(QStringLiteral(", ")))};
    for (const TFieldDef& f : fields)
        statements << QStringLiteral("comment on column %1.%2 is %3")
                          .arg(ServerName(table), ServerName(f.name), SqlText(DeclaredAs(f)));
    return statements;
}

} // namespace

QString TServerSettings::Name() const
{
    return QStringLiteral("%1:%2/%3").arg(host).arg(port).arg(database);
}

void TDatabase::EnsureProgramAlias()
{
    TIniFile ini = engineConfig();
    if (ini.HasSection(kAlias))
        return;
    const QString data = ConfigFolder() + QStringLiteral("/data");
    QDir().mkpath(data);
    ini.Write(kAlias, QStringLiteral("TYPE"), QStringLiteral("STANDARD"));
    ini.Write(kAlias, kPath, QDir::toNativeSeparators(data) + QDir::separator());
}

QString TDatabase::AliasFolder(const QString& alias)
{
    if (alias.compare(kAlias, Qt::CaseInsensitive) == 0)
        EnsureProgramAlias();
    TIniFile ini = engineConfig();
    if (!ini.HasSection(alias))
        throw EDatabaseError(QStringLiteral("エイリアス %1 が見つかりません。").arg(alias));
    QString folder = ini.Read(alias, kPath);
    if (!EndsWithSeparator(folder))
        folder += QDir::separator();
    return folder;
}

void TDatabase::SetAliasFolder(const QString& alias, const QString& folder)
{
    damagedFile.clear();
    Close();
    try {
        if (alias.compare(kAlias, Qt::CaseInsensitive) == 0)
            EnsureProgramAlias();
        TIniFile ini = engineConfig();
        if (!ini.HasSection(alias))
            throw ESettingsError(alias);
        ini.Write(alias, kPath, folder);
        // The folder is used from now on, also by an alias that named a server.
        if (ini.Read(alias, kType).compare(kPostgres, Qt::CaseInsensitive) == 0)
            ini.Write(alias, kType, QStringLiteral("STANDARD"));
    } catch (const EKanmuriError&) {
        TPrompt::Message(QStringLiteral("Failed"));
    }
}

bool TDatabase::IsServer(const QString& alias)
{
    if (alias.compare(kAlias, Qt::CaseInsensitive) == 0)
        EnsureProgramAlias();
    return engineConfig().Read(alias, kType).trimmed().compare(kPostgres, Qt::CaseInsensitive) == 0;
}

QString TDatabase::Place(const QString& alias)
{
    if (!IsServer(alias))
        return AliasFolder(alias);
    const TServerSettings server = AliasServer(alias);
    return server.Name() + u' ' + server.user;
}

TServerSettings TDatabase::AliasServer(const QString& alias)
{
    if (alias.compare(kAlias, Qt::CaseInsensitive) == 0)
        EnsureProgramAlias();
    const TIniFile ini = engineConfig();
    if (!ini.HasSection(alias))
        throw EDatabaseError(QStringLiteral("エイリアス %1 が見つかりません。").arg(alias));
    TServerSettings server;
    server.host = ini.Read(alias, QStringLiteral("HOST")).trimmed();
    bool ok = false;
    const int port = ini.Read(alias, QStringLiteral("PORT")).trimmed().toInt(&ok);
    if (ok && port > 0 && port < 65536)
        server.port = port;
    server.database = ini.Read(alias, QStringLiteral("DATABASE")).trimmed();
    server.user = ini.Read(alias, QStringLiteral("USER")).trimmed();
    return server;
}

void TDatabase::SetAliasServer(const QString& alias, const TServerSettings& server)
{
    damagedFile.clear();
    Close();
    if (alias.compare(kAlias, Qt::CaseInsensitive) == 0)
        EnsureProgramAlias();
    TIniFile ini = engineConfig();
    ini.EnsureSection(alias);
    ini.Write(alias, QStringLiteral("HOST"), server.host.trimmed());
    ini.Write(alias, QStringLiteral("PORT"), QString::number(server.port));
    ini.Write(alias, QStringLiteral("DATABASE"), server.database.trimmed());
    ini.Write(alias, QStringLiteral("USER"), server.user.trimmed());
    ini.Write(alias, kType, kPostgres);
}

QString TDatabase::TestServer(const TServerSettings& server)
{
    if (!QSqlDatabase::isDriverAvailable(kServerDriver))
        return QStringLiteral("データベースサーバーのドライバ (QPSQL) がありません。");
    const QString name = QStringLiteral("kanmuri-test-connection");
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(kServerDriver, name);
        ConfigureServer(db, server);
        if (server.host.trimmed().isEmpty() || server.database.trimmed().isEmpty() ||
            server.user.trimmed().isEmpty() || !db.open()) {
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

QString TDatabase::DatabaseFile()
{
    return QDir(AliasFolder(kAlias)).filePath(DatabaseFileName());
}

QSqlDatabase TDatabase::Connection()
{
    if (!damagedFile.isEmpty())
        throw EDatabaseError(UnreadableText(damagedFile));
    QSqlDatabase db = QSqlDatabase::database(kConnection, false);
    if (db.isValid() && db.isOpen())
        return db;
    if (writing && serverOpen) {
        // The driver noticed the loss first (in a statement's clean-up).
        lostInWrite = true;
        writing = false;
    }
    if (lostInWrite)
        throw EDatabaseError(LostText(ServerNameOfAlias()));
    integrityChecked = false;
    const bool server = IsServer(kAlias);
    if (db.isValid() && (db.driverName() == kServerDriver) != server) {
        Close();
        db = QSqlDatabase();
    }
    if (server)
        return OpenServer(db);
    const QString folder = AliasFolder(kAlias);
    if (!QFileInfo(folder).isDir())
        throw EDatabaseError(
            QStringLiteral(
                "データ格納フォルダ \"%1\" が見つかりません。\n"
                "「環境設定」の「データ格納フォルダの設定」で正しいフォルダを選んでください。")
                .arg(folder));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        throw EDatabaseError(QStringLiteral("データベースのドライバ (QSQLITE) がありません。"));
    if (!db.isValid())
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
    const QString file = QDir(folder).filePath(DatabaseFileName());
    db.setDatabaseName(file);
    // Another program may be writing the same data folder: wait for its lock.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout));
    if (!db.open()) {
        db.close();
        throw EDatabaseError(UnreadableText(file));
    }
    try {
        CheckOpened(db, file);
    } catch (...) {
        // The next query tries again, and fails the same way, without a
        // half-checked connection in between.
        db.close();
        throw;
    }
    return db;
}

QSqlDatabase TDatabase::OpenServer(QSqlDatabase db)
{
    const TServerSettings server = AliasServer(kAlias);
    if (!QSqlDatabase::isDriverAvailable(kServerDriver))
        throw EDatabaseError(CannotConnectText(
            server, QStringLiteral("データベースサーバーのドライバ (QPSQL) がありません。")));
    if (!db.isValid())
        db = QSqlDatabase::addDatabase(kServerDriver, kConnection);
    ConfigureServer(db, server);
    if (server.host.isEmpty() || server.database.isEmpty() || server.user.isEmpty() || !db.open()) {
        const QString problem = ConnectProblem(server, db.lastError());
        db.close();
        throw EDatabaseError(CannotConnectText(server, problem));
    }
    serverOpen = true;
    try {
        QSqlQuery query(db);
        // Saves wait for another PC's lock as long as they would on SQLite.
        if (!query.exec(QStringLiteral("set lock_timeout = %1").arg(busyTimeout)))
            throw Failure(query.lastError());
        if (ServerLayoutVersion(db) > LayoutVersion)
            throw EDatabaseError(NewerVersionText(server.Name(), QString()));
    } catch (...) {
        db.close();
        serverOpen = false;
        throw;
    }
    return db;
}

void TDatabase::CheckOpened(QSqlDatabase& db, const QString& file)
{
    const auto unreadable = [&](const QSqlQuery&) { return EDatabaseError(UnreadableText(file)); };
    QSqlQuery query(db);
    // Reading the schema fails at once for a file that is no database.
    if (!query.exec(QStringLiteral("select count(*) from sqlite_master")) || !query.next())
        throw unreadable(query);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        throw unreadable(query);
    const int version = query.value(0).toInt();
    if (version > LayoutVersion)
        throw EDatabaseError(NewerVersionText(file, QString()));
    query.finish();

    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
        throw Failure(query.lastError());
    query.finish();
    // Each commit reaches the disk before the program goes on: a saved day
    // must survive a power cut, whatever the engine's own default is.
    if (!query.exec(QStringLiteral("PRAGMA synchronous=FULL")))
        throw Failure(query.lastError());
    if (version == 0) {
        // A database this program made before it was versioned, or a new one.
        query.exec(QStringLiteral("PRAGMA user_version=%1").arg(LayoutVersion));
    }
}

bool TDatabase::IsAvailable()
{
    try {
        Connection();
        return true;
    } catch (const EKanmuriError&) {
        return false;
    }
}

void TDatabase::Close()
{
    {
        QSqlDatabase db = QSqlDatabase::database(kConnection, false);
        if (!db.isValid())
            return;
        db.close();
    }
    QSqlDatabase::removeDatabase(kConnection);
    serverOpen = false;
    writing = false;
    lostInWrite = false;
}

bool TDatabase::TableExists(const QString& table)
{
    QSqlQuery query(Connection());
    const QString sql =
        serverOpen ? QStringLiteral("select count(*) from information_schema.tables where "
                                    "table_schema = current_schema() and lower(table_name) = "
                                    "lower(:name)")
                   : QStringLiteral("select count(*) from sqlite_master where type = 'table' "
                                    "and lower(name) = lower(:name)");
    if (!query.prepare(sql))
        throw Failure(query.lastError());
    query.bindValue(QStringLiteral(":name"), table);
    if (!query.exec() || !query.next())
        throw Failure(query.lastError());
    return query.value(0).toInt() > 0;
}

namespace {

// The stored columns of `table`, in order.
QStringList ColumnsOf(const QString& table)
{
    if (serverOpen) {
        QStringList columns;
        for (const TFieldDef& field : TDatabase::TableColumns(table))
            columns << field.name;
        return columns;
    }
    QSqlQuery query(TDatabase::Connection());
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(Quoted(table))))
        throw TDatabase::Failure(query.lastError());
    QStringList columns;
    while (query.next())
        columns << query.value(1).toString();
    return columns;
}

// The columns a "PRAGMA table_info" has just listed.
QList<TFieldDef> SqliteColumns(QSqlQuery& query)
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

} // namespace

QList<TFieldDef> TDatabase::TableColumns(const QString& table)
{
    QSqlQuery query(Connection());
    if (serverOpen) {
        // The names as the program declared them are kept in the columns'
        // comments; the server itself only knows them in lower case.
        if (!query.prepare(QStringLiteral(
                "select a.attname, format_type(a.atttypid, a.atttypmod), "
                "col_description(a.attrelid, a.attnum), a.atttypmod from pg_attribute a "
                "join pg_class c on c.oid = a.attrelid join pg_namespace n on n.oid = "
                "c.relnamespace where n.nspname = current_schema() and c.relkind = 'r' and "
                "lower(c.relname) = lower(:table) and a.attnum > 0 and not a.attisdropped "
                "order by a.attnum")))
            throw Failure(query.lastError());
        query.bindValue(QStringLiteral(":table"), table);
        if (!query.exec())
            throw Failure(query.lastError());
        QList<TFieldDef> columns;
        while (query.next()) {
            // The comment is the name, and for a text its size after a blank;
            // a name may hold blanks itself ("Species No").
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
            TFieldDef field{declared.compare(stored, Qt::CaseInsensitive) == 0 ? declared : stored,
                            type};
            if (field.type == TFieldType::String)
                field.size = query.value(3).toInt() > 4 ? query.value(3).toInt() - 4 // varchar(n)
                                                        : declaredSize;
            columns.append(field);
        }
        return columns;
    }
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(Quoted(table))))
        throw Failure(query.lastError());
    return SqliteColumns(query);
}

QString TDatabase::QuoteName(const QString& name)
{
    Connection();
    return NameFor(name);
}

void TDatabase::DropTable(const QString& table)
{
    QSqlQuery query(Connection());
    if (!query.exec(QStringLiteral("drop table if exists %1").arg(NameFor(table))))
        throw Failure(query.lastError());
}

void TDatabase::CreateTable(const QString& table, const QList<TFieldDef>& fields)
{
    QSqlDatabase db = Connection();
    if (serverOpen) {
        QSqlQuery query(db);
        for (const QString& statement : ServerCreateStatements(table, fields)) {
            if (!query.exec(statement))
                throw Failure(query.lastError());
        }
        return;
    }
    QStringList columns;
    for (const TFieldDef& f : fields)
        columns << Quoted(f.name) + u' ' + SqlType(f);
    QSqlQuery query(Connection());
    if (!query.exec(QStringLiteral("create table %1 (%2)")
                        .arg(Quoted(table), columns.join(QStringLiteral(", ")))))
        throw Failure(query.lastError());
}

bool TDatabase::EnsureTable(const QString& table, const QList<TFieldDef>& fields,
                            const QString& question, const QString& caption)
{
    if (TableExists(table)) {
        // The columns are read by position: a table laid out otherwise comes
        // from another program or version and is left as it is.
        const QStringList stored = ColumnsOf(table);
        bool same = stored.size() >= fields.size();
        for (int i = 0; same && i < fields.size(); ++i)
            same = stored[i].compare(fields[i].name, Qt::CaseInsensitive) == 0;
        if (!same)
            throw EDatabaseError(
                NewerVersionText(serverOpen ? AliasServer().Name() : DatabaseFile(),
                                 QStringLiteral(" (表 %1 の列が違います)").arg(table)));
        return true;
    }
    if (!question.isEmpty() && !TPrompt::YesNo(question, caption.isEmpty() ? table : caption))
        return false;
    // Under the write lock, so that of two programs starting on a new data
    // folder one creates the table and the other finds it.
    TTransaction transaction;
    if (TableExists(table)) {
        transaction.Commit();
        return true;
    }
    CreateTable(table, fields);
    transaction.Commit();
    return false;
}

void TDatabase::EnsureIndex(const QString& table, const QString& name, const QStringList& columns)
{
    QSqlDatabase db = Connection();
    QStringList quoted;
    for (const QString& column : columns)
        quoted << NameFor(column);
    QSqlQuery query(db);
    if (!serverOpen) {
        if (!query.exec(QStringLiteral("create index if not exists %1 on %2 (%3)")
                            .arg(NameFor(name), NameFor(table), quoted.join(QStringLiteral(", ")))))
            throw Failure(query.lastError());
        return;
    }
    // Creating an index locks out writers even when it exists, and two
    // programs creating it at once collide: look first, under the write lock.
    const auto exists = [&] {
        if (!query.exec(QStringLiteral("select count(*) from pg_indexes where schemaname = "
                                       "current_schema() and indexname = %1")
                            .arg(SqlText(name.toLower()))) ||
            !query.next())
            throw Failure(query.lastError());
        return query.value(0).toInt() > 0;
    };
    if (exists())
        return;
    TTransaction transaction;
    if (!exists()) {
        if (!query.exec(
                QStringLiteral("create index %1 on %2 (%3)")
                    .arg(ServerName(name), ServerName(table), quoted.join(QStringLiteral(", ")))) ||
            !query.exec(
                QStringLiteral("comment on index %1 is %2").arg(ServerName(name), SqlText(name))))
            throw Failure(query.lastError());
    }
    transaction.Commit();
}

QString TDatabase::DateTextSql(const QString& column)
{
    Connection();
    // A server's timestamp has no text of its own; SQLite keeps the text
    // "yyyy-MM-dd hh:mm:ss" that BindDateTime wrote.
    return serverOpen ? QStringLiteral("to_char(%1, 'YYYY/MM/DD')").arg(column)
                      : QStringLiteral("replace(substr(%1, 1, 10), '-', '/')").arg(column);
}

void TDatabase::SetBusyTimeout(int milliseconds)
{
    busyTimeout = milliseconds;
    QSqlDatabase db = QSqlDatabase::database(kConnection, false);
    if (db.isValid() && db.isOpen())
        QSqlQuery(db).exec(serverOpen ? QStringLiteral("set lock_timeout = %1").arg(milliseconds)
                                      : QStringLiteral("PRAGMA busy_timeout=%1").arg(milliseconds));
}

void TDatabase::BeginWrite()
{
    QSqlQuery query(Connection());
    if (!serverOpen) {
        if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw Failure(query.lastError());
        writing = true;
        return;
    }
    if (!query.exec(QStringLiteral("begin")))
        throw Failure(query.lastError());
    writing = true;
    // Plain reads outside a transaction never wait for this lock.
    if (!query.exec(kWriteLock)) {
        const EDatabaseError failure = Failure(query.lastError());
        RollbackWrite();
        throw failure;
    }
}

void TDatabase::CommitWrite()
{
    QSqlDatabase db = Connection();
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("COMMIT"))) {
        const bool server = serverOpen;
        const EDatabaseError failure = Failure(query.lastError());
        // The commit was sent: the server may have saved it before the
        // connection went.
        const bool lost = server && !db.isOpen();
        RollbackWrite();
        if (lost)
            throw EDatabaseError(CommitUnknownText(ServerNameOfAlias()));
        throw failure;
    }
    writing = false;
}

void TDatabase::RollbackWrite()
{
    writing = false;
    lostInWrite = false;
    QSqlDatabase db = QSqlDatabase::database(kConnection, false);
    if (!db.isValid() || !db.isOpen())
        return;
    QSqlQuery query(db);
    query.exec(QStringLiteral("ROLLBACK"));
}

EDatabaseError TDatabase::Failure(const QSqlError& error, const QString& sql)
{
    if (serverOpen) {
        const QString state = error.nativeErrorCode();
        // Lock not available, deadlock, serialization failure.
        if (state == QStringLiteral("55P03") || state == QStringLiteral("40P01") ||
            state == QStringLiteral("40001"))
            return EDatabaseError(ServerLockedText());
        if (state == QStringLiteral("22001"))
            return EDatabaseError(TooLongText());
        QSqlDatabase db = QSqlDatabase::database(kConnection, false);
        bool lost = !ServerAnswered(error);
        if (lost && state.isEmpty() && db.isOpen()) {
            // Some failures of the driver itself carry no code: ask the server.
            QSqlQuery probe(db);
            lost = !probe.exec(QStringLiteral("select 1")) && !ServerAnswered(probe.lastError());
        }
        if (lost) {
            const QString server = ServerNameOfAlias();
            if (writing)
                lostInWrite = true;
            writing = false;
            db.close();
            return EDatabaseError(LostText(server));
        }
    }
    switch (EngineCode(error)) {
    case kBusy:
    case kLocked:
        return EDatabaseError(LockedText());
    case kCorrupt:
    case kNotADatabase:
    case kCantOpen: {
        QString file;
        try {
            file = DatabaseFile();
        } catch (const EKanmuriError&) {
        }
        if (EngineCode(error) != kCantOpen)
            damagedFile = file;
        return EDatabaseError(UnreadableText(file));
    }
    default:
        break;
    }
    QString text = error.text().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("SQL の実行に失敗しました。");
    if (!sql.isEmpty())
        text += QStringLiteral("\n\n") + sql;
    return EDatabaseError(text);
}

void TDatabase::CheckIntegrity()
{
    QSqlDatabase db = Connection();
    // A server keeps its own files sound.
    if (integrityChecked || serverOpen)
        return;
    const QString file = db.databaseName();
    QSqlQuery query(db);
    const bool ok = query.exec(QStringLiteral("PRAGMA quick_check(1)")) && query.next() &&
                    query.value(0).toString() == QStringLiteral("ok");
    query = QSqlQuery();
    if (!ok) {
        damagedFile = file;
        throw EDatabaseError(UnreadableText(file));
    }
    integrityChecked = true;
}

void TDatabase::CopyTo(const QString& file)
{
    QSqlDatabase db = Connection();
    QSqlQuery query(db);
    if (serverOpen)
        throw EDatabaseError(QStringLiteral("データベースサーバーのデータは、サーバーの"
                                            "バックアップ (pg_dump など) で保存してください。"));
    if (!query.prepare(QStringLiteral("VACUUM INTO :file")))
        throw Failure(query.lastError());
    query.bindValue(QStringLiteral(":file"), file);
    if (query.exec())
        return;
    const QSqlError error = query.lastError();
    query = QSqlQuery();
    // Most failures are the copy's own (its folder, the disk); the database
    // is called damaged only when it fails its own check.
    QSqlQuery check(db);
    const bool sound = check.exec(QStringLiteral("PRAGMA quick_check(1)")) && check.next() &&
                       check.value(0).toString() == QStringLiteral("ok");
    check = QSqlQuery();
    if (!sound) {
        damagedFile = db.databaseName();
        throw EDatabaseError(UnreadableText(damagedFile));
    }
    QString text = error.text().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("ファイルを書き込めません。");
    throw EDatabaseError(text);
}


int MaxId(const QString& table)
{
    TQuery query(QStringLiteral("Select Max(ID) from ") + table);
    query.Exec();
    return query.Next() ? query.Integer(0) : 0;
}

namespace {

QString CopyRefusedText(const TServerSettings& server, const QStringList& filled)
{
    return QStringLiteral("データベースサーバー \"%1\" のデータベースには、すでにデータがあります"
                          " (%2)。\n"
                          "コピーは空のデータベースにだけできます。何もコピーしていません。")
        .arg(server.Name(), filled.join(QStringLiteral("、")));
}

QString CopyFailedText(const QString& table, const QSqlError& error)
{
    QString why = error.databaseText().trimmed();
    if (why.isEmpty())
        why = error.text().trimmed();
    if (error.nativeErrorCode() == QStringLiteral("22001"))
        why = QStringLiteral("列の長さを超える文字があります。\n(%1)").arg(why);
    return QStringLiteral("表 %1 をコピーできませんでした。%2\n何もコピーしていません。")
        .arg(table, why);
}

// A stored value as the server's column takes it: SQLite keeps whatever it
// was given, so an empty text in a number or date column means no value.
QVariant ServerValue(const QVariant& value, TFieldType type)
{
    if (value.isNull())
        return value;
    if (type == TFieldType::String)
        return value.toString();
    if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
        return QVariant();
    return value;
}

using TCopyProgress = std::function<void(qint64 done, qint64 total)>;

// Rows copied so far and in all, told to whoever shows them.
struct TCopyCount
{
    const TCopyProgress& progress;
    qint64 done = 0;
    qint64 total = 0;
    void Add(qint64 rows)
    {
        done += rows;
        if (progress)
            progress(done, total);
    }
};

qint64 CopyRows(QSqlDatabase& source, QSqlDatabase& target, const QString& table,
                const QList<TFieldDef>& fields, TCopyCount& count)
{
    QSqlQuery read(source);
    read.setForwardOnly(true);
    if (!read.exec(QStringLiteral("select * from %1").arg(Quoted(table))))
        throw EDatabaseError(CopyFailedText(table, read.lastError()));
    QStringList columns;
    for (const TFieldDef& f : fields)
        columns << ServerName(f.name);
    const int perStatement = std::max(1, 2000 / int(std::max<qsizetype>(1, fields.size())));
    const QString row = u'(' + QStringList(fields.size(), QStringLiteral("?")).join(u',') + u')';
    QList<QVariantList> batch;
    qint64 copied = 0;
    const auto flush = [&] {
        if (batch.isEmpty())
            return;
        QSqlQuery write(target);
        const QString sql = QStringLiteral("insert into %1 (%2) values %3")
                                .arg(ServerName(table), columns.join(u','),
                                     QStringList(batch.size(), row).join(u','));
        if (!write.prepare(sql))
            throw EDatabaseError(CopyFailedText(table, write.lastError()));
        int at = 0;
        for (const QVariantList& values : batch)
            for (const QVariant& value : values)
                write.bindValue(at++, value);
        if (!write.exec())
            throw EDatabaseError(CopyFailedText(table, write.lastError()));
        copied += batch.size();
        count.Add(batch.size());
        batch.clear();
    };
    while (read.next()) {
        QVariantList values;
        for (int c = 0; c < fields.size(); ++c)
            values << ServerValue(read.value(c), fields[c].type);
        batch << values;
        if (batch.size() >= perStatement)
            flush();
    }
    if (read.lastError().isValid())
        throw EDatabaseError(CopyFailedText(table, read.lastError()));
    flush();
    return copied;
}

QList<TCopiedTable> CopyTables(QSqlDatabase& source, QSqlDatabase& target, const QString& file,
                               const TServerSettings& server, const TCopyProgress& progress)
{
    if (!source.open())
        throw EDatabaseError(UnreadableText(file));
    QSqlQuery query(source);
    // One snapshot of every table, while other programs may go on saving.
    if (!query.exec(QStringLiteral("begin")))
        throw EDatabaseError(UnreadableText(file));
    QStringList tables;
    if (!query.exec(QStringLiteral("select name from sqlite_master where type = 'table' and "
                                   "name not like 'sqlite%' order by name")))
        throw EDatabaseError(UnreadableText(file));
    while (query.next())
        tables << query.value(0).toString();
    QList<QList<TFieldDef>> layouts;
    for (const QString& table : tables) {
        if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(Quoted(table))))
            throw EDatabaseError(UnreadableText(file));
        layouts << SqliteColumns(query);
    }
    TCopyCount count{progress};
    for (const QString& table : tables) {
        if (!query.exec(QStringLiteral("select count(*) from %1").arg(Quoted(table))) ||
            !query.next())
            throw EDatabaseError(UnreadableText(file));
        count.total += query.value(0).toLongLong();
    }

    if (server.host.isEmpty() || server.database.isEmpty() || server.user.isEmpty() ||
        !target.open())
        throw EDatabaseError(CannotConnectText(server, ConnectProblem(server, target.lastError())));
    const auto failed = [&](const QSqlQuery& q) {
        return EDatabaseError(CannotConnectText(server, ConnectProblem(server, q.lastError())));
    };
    QSqlQuery write(target);
    if (!write.exec(QStringLiteral("set lock_timeout = %1").arg(busyTimeout)))
        throw failed(write);
    // Refused rather than mixed in: the server must not be newer than us.
    {
        QSqlQuery version(target);
        if (!version.exec(QStringLiteral("select count(*) from information_schema.tables where "
                                         "table_schema = current_schema() and table_name = '%1'")
                              .arg(kLayoutTable)) ||
            !version.next())
            throw failed(version);
        if (version.value(0).toInt() > 0) {
            if (!version.exec(QStringLiteral("select max(version) from %1").arg(kLayoutTable)) ||
                !version.next())
                throw failed(version);
            if (version.value(0).toInt() > TDatabase::LayoutVersion)
                throw EDatabaseError(NewerVersionText(server.Name(), QString()));
        }
    }
    if (!write.exec(QStringLiteral("begin")) || !write.exec(kWriteLock))
        throw failed(write);

    // Checked under the write lock, so that no PC can save in between.
    QStringList existing, filled;
    if (!write.exec(QStringLiteral("select table_name from information_schema.tables where "
                                   "table_schema = current_schema() and table_type = 'BASE "
                                   "TABLE' order by table_name")))
        throw failed(write);
    while (write.next())
        existing << write.value(0).toString();
    for (const QString& table : existing) {
        if (table == kLayoutTable)
            continue;
        QSqlQuery count(target);
        if (!count.exec(QStringLiteral("select count(*) from %1").arg(Quoted(table))) ||
            !count.next())
            throw failed(count);
        if (count.value(0).toLongLong() > 0)
            filled << QStringLiteral("表 %1: %2 行").arg(table).arg(count.value(0).toLongLong());
    }
    if (!filled.isEmpty())
        throw EDatabaseError(CopyRefusedText(server, filled));

    if (!write.exec(
            QStringLiteral("create table if not exists %1 (version integer)").arg(kLayoutTable)) ||
        !write.exec(QStringLiteral("delete from %1").arg(kLayoutTable)) ||
        !write.exec(QStringLiteral("insert into %1 (version) values (%2)")
                        .arg(kLayoutTable)
                        .arg(TDatabase::LayoutVersion)))
        throw failed(write);
    QList<TCopiedTable> copied;
    for (int t = 0; t < tables.size(); ++t) {
        // An empty table of the same name (made by a program that already
        // started on the server) takes the copied table's layout.
        QStringList statements{
            QStringLiteral("drop table if exists %1 cascade").arg(ServerName(tables[t]))};
        statements << ServerCreateStatements(tables[t], layouts[t]);
        for (const QString& statement : statements) {
            if (!write.exec(statement))
                throw EDatabaseError(CopyFailedText(tables[t], write.lastError()));
        }
        copied.append({tables[t], CopyRows(source, target, tables[t], layouts[t], count)});
    }
    if (!write.exec(QStringLiteral("commit")))
        throw failed(write);
    query.exec(QStringLiteral("rollback"));
    return copied;
}

} // namespace

QList<TCopiedTable> TDatabase::CopyFolderToServer(const QString& folder,
                                                  const TServerSettings& server,
                                                  const TCopyProgress& progress)
{
    const QString file = QDir(folder).filePath(DatabaseFileName());
    if (!QFileInfo(file).isFile())
        throw EDatabaseError(
            QStringLiteral("データ格納フォルダ \"%1\" にデータベース (%2) がありません。")
                .arg(Native(folder), DatabaseFileName()));
    if (!QSqlDatabase::isDriverAvailable(kServerDriver))
        throw EDatabaseError(CannotConnectText(
            server, QStringLiteral("データベースサーバーのドライバ (QPSQL) がありません。")));
    const QString sourceName = QStringLiteral("kanmuri-copy-source");
    const QString targetName = QStringLiteral("kanmuri-copy-target");
    QList<TCopiedTable> copied;
    QString failure;
    {
        QSqlDatabase source = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), sourceName);
        source.setDatabaseName(file);
        source.setConnectOptions(
            QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout));
        QSqlDatabase target = QSqlDatabase::addDatabase(kServerDriver, targetName);
        ConfigureServer(target, server);
        try {
            copied = CopyTables(source, target, file, server, progress);
        } catch (const EKanmuriError& e) {
            failure = e.text();
        }
        // Closing an unfinished transaction rolls it back.
        target.close();
        source.close();
    }
    QSqlDatabase::removeDatabase(targetName);
    QSqlDatabase::removeDatabase(sourceName);
    if (!failure.isEmpty())
        throw EDatabaseError(failure);
    return copied;
}

QString CopyReportText(const QString& folder, const TServerSettings& server,
                       const QList<TCopiedTable>& copied)
{
    QString text = QStringLiteral("データ格納フォルダ \"%1\" のデータを、データベースサーバー "
                                  "\"%2\" にコピーしました。\n")
                       .arg(Native(folder), server.Name());
    qsizetype width = 0;
    qint64 total = 0;
    for (const TCopiedTable& table : copied)
        width = std::max(width, table.table.size());
    for (const TCopiedTable& table : copied) {
        text += QStringLiteral("  %1 %2 行\n").arg(table.table, -int(width)).arg(table.rows, 8);
        total += table.rows;
    }
    return text + QStringLiteral("合計 %1 表、%2 行").arg(copied.size()).arg(total);
}
