#include "foundation/TDatabase.h"

#include "foundation/ConfigFolder.h"
#include "foundation/DatabaseTexts.h"
#include "foundation/EKanmuriError.h"
#include "foundation/TIniFile.h"
#include "foundation/TPostgresEngine.h"
#include "foundation/TQuery.h"
#include "foundation/TSqliteEngine.h"
#include "foundation/TTransaction.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <memory>

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
// The engine of the open connection, picked when it opens.
std::unique_ptr<TEngine> engine;
// A write transaction is open on the connection.
bool writing = false;
// The server connection was lost inside a write transaction: nothing may run
// on a new connection until that transaction has been given up, or its later
// statements would be saved without the earlier ones.
bool lostInWrite = false;

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

// Sorts failures while no connection is open.
const TEngine& Sorter()
{
    static const TSqliteEngine none{QString()};
    if (engine)
        return *engine;
    return none;
}

void Exec(QSqlQuery& query, const QString& sql)
{
    if (!query.exec(sql))
        throw TDatabase::Failure(query.lastError());
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
    if (alias.compare(kAlias, Qt::CaseInsensitive) == 0)
        EnsureProgramAlias();
    TIniFile ini = engineConfig();
    if (!ini.HasSection(alias))
        throw EDatabaseError(QStringLiteral("エイリアス %1 が見つかりません。").arg(alias));
    ini.Write(alias, kPath, folder);
    // The folder is used from now on, also by an alias that named a server.
    if (ini.Read(alias, kType).compare(kPostgres, Qt::CaseInsensitive) == 0)
        ini.Write(alias, kType, QStringLiteral("STANDARD"));
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
    return TPostgresEngine::Test(server);
}

QString TDatabase::DatabaseFile()
{
    return QDir(AliasFolder(kAlias)).filePath(DatabaseFileName());
}

int TDatabase::BusyTimeout()
{
    return busyTimeout;
}

QSqlDatabase TDatabase::Connection()
{
    if (!damagedFile.isEmpty())
        throw EDatabaseError(UnreadableText(damagedFile));
    QSqlDatabase db = QSqlDatabase::database(kConnection, false);
    if (db.isValid() && db.isOpen())
        return db;
    if (writing) {
        // The server connection went, and the driver noticed it first (in a
        // statement's clean-up).
        lostInWrite = true;
        writing = false;
    }
    if (lostInWrite)
        throw EDatabaseError(LostText(ServerNameOfAlias()));
    integrityChecked = false;
    std::unique_ptr<TEngine> next;
    if (IsServer(kAlias))
        next = std::make_unique<TPostgresEngine>(AliasServer(kAlias));
    else
        next = std::make_unique<TSqliteEngine>(AliasFolder(kAlias));
    if (db.isValid() && db.driverName() != next->Driver()) {
        Close();
        db = QSqlDatabase();
    }
    engine = std::move(next);
    try {
        engine->Open(db, kConnection, busyTimeout);
    } catch (...) {
        engine.reset();
        throw;
    }
    return db;
}

const TEngine& TDatabase::Engine()
{
    Connection();
    return *engine;
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
    engine.reset();
    writing = false;
    lostInWrite = false;
}

bool TDatabase::TableExists(const QString& table)
{
    QSqlQuery query(Connection());
    if (!query.prepare(engine->TableExistsSql()))
        throw Failure(query.lastError());
    query.bindValue(QStringLiteral(":name"), table);
    if (!query.exec() || !query.next())
        throw Failure(query.lastError());
    return query.value(0).toInt() > 0;
}

QList<TFieldDef> TDatabase::TableColumns(const QString& table)
{
    QSqlQuery query(Connection());
    return engine->TableColumns(query, table);
}

QString TDatabase::QuoteName(const QString& name)
{
    return Engine().QuoteName(name);
}

void TDatabase::DropTable(const QString& table)
{
    QSqlQuery query(Connection());
    Exec(query, QStringLiteral("drop table if exists %1").arg(engine->QuoteName(table)));
}

void TDatabase::CreateTable(const QString& table, const QList<TFieldDef>& fields)
{
    QSqlQuery query(Connection());
    for (const QString& statement : engine->CreateTableSql(table, fields))
        Exec(query, statement);
}

bool TDatabase::EnsureTable(const QString& table, const QList<TFieldDef>& fields,
                            const std::function<bool()>& mayCreate)
{
    if (TableExists(table)) {
        // The columns are read by position: a table laid out otherwise comes
        // from another program or version and is left as it is.
        const QList<TFieldDef> stored = TableColumns(table);
        bool same = stored.size() >= fields.size();
        for (int i = 0; same && i < fields.size(); ++i)
            same = stored[i].name.compare(fields[i].name, Qt::CaseInsensitive) == 0;
        if (!same)
            throw EDatabaseError(NewerVersionText(
                engine->Place(), QStringLiteral(" (表 %1 の列が違います)").arg(table)));
        return true;
    }
    if (mayCreate && !mayCreate())
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
    QSqlQuery query(Connection());
    const QStringList create = engine->CreateIndexSql(table, name, columns);
    const QString count = engine->IndexExistsSql(name);
    if (count.isEmpty()) {
        for (const QString& statement : create)
            Exec(query, statement);
        return;
    }
    // Creating an index locks out writers even when it exists, and two
    // programs creating it at once collide: look first, under the write lock.
    const auto exists = [&] {
        if (!query.exec(count) || !query.next())
            throw Failure(query.lastError());
        return query.value(0).toInt() > 0;
    };
    if (exists())
        return;
    TTransaction transaction;
    if (!exists()) {
        for (const QString& statement : create)
            Exec(query, statement);
    }
    transaction.Commit();
}

QString TDatabase::DateTextSql(const QString& column)
{
    return Engine().DateTextSql(column);
}

void TDatabase::SetBusyTimeout(int milliseconds)
{
    busyTimeout = milliseconds;
    QSqlDatabase db = QSqlDatabase::database(kConnection, false);
    if (db.isValid() && db.isOpen())
        QSqlQuery(db).exec(Sorter().BusyTimeoutSql(milliseconds));
}

void TDatabase::BeginWrite()
{
    QSqlQuery query(Connection());
    const QStringList statements = engine->BeginWriteSql();
    Exec(query, statements.first());
    writing = true;
    for (qsizetype i = 1; i < statements.size(); ++i) {
        if (!query.exec(statements[i])) {
            const EDatabaseError failure = Failure(query.lastError());
            RollbackWrite();
            throw failure;
        }
    }
}

void TDatabase::CommitWrite()
{
    QSqlDatabase db = Connection();
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("COMMIT"))) {
        const EDatabaseError failure = Failure(query.lastError());
        // A connection lost while the commit was on its way: the server may
        // have saved it before the connection went.
        const bool lost = !db.isOpen();
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
    QSqlDatabase db = QSqlDatabase::database(kConnection, false);
    const TEngineFailure kind = Sorter().Classify(error, db);
    switch (kind) {
    case TEngineFailure::Locked:
        return EDatabaseError(Sorter().LockedText());
    case TEngineFailure::TooLong:
        return EDatabaseError(TooLongText());
    case TEngineFailure::Lost: {
        const QString server = ServerNameOfAlias();
        if (writing)
            lostInWrite = true;
        writing = false;
        db.close();
        return EDatabaseError(LostText(server));
    }
    case TEngineFailure::Damaged:
    case TEngineFailure::Unreadable: {
        QString file;
        try {
            file = DatabaseFile();
        } catch (const EKanmuriError&) {
        }
        if (kind == TEngineFailure::Damaged)
            damagedFile = file;
        return EDatabaseError(UnreadableText(file));
    }
    case TEngineFailure::Other:
        break;
    }
    QString text = error.text().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("SQL の実行に失敗しました。");
    if (!sql.isEmpty())
        text += QStringLiteral("\n\n") + sql;
    return EDatabaseError(text);
}

namespace {

// True when the open database passes its own check.
bool Sound(QSqlDatabase& db, const QString& check)
{
    QSqlQuery query(db);
    return query.exec(check) && query.next() && query.value(0).toString() == QStringLiteral("ok");
}

} // namespace

void TDatabase::CheckIntegrity()
{
    QSqlDatabase db = Connection();
    const QString check = engine->IntegrityCheckSql();
    if (integrityChecked || check.isEmpty())
        return;
    if (!Sound(db, check)) {
        damagedFile = db.databaseName();
        throw EDatabaseError(UnreadableText(damagedFile));
    }
    integrityChecked = true;
}

void TDatabase::CopyTo(const QString& file)
{
    QSqlDatabase db = Connection();
    QSqlQuery query(db);
    if (engine->CopySql().isEmpty())
        throw EDatabaseError(QStringLiteral("データベースサーバーのデータは、サーバーの"
                                            "バックアップ (pg_dump など) で保存してください。"));
    if (!query.prepare(engine->CopySql()))
        throw Failure(query.lastError());
    query.bindValue(QStringLiteral(":file"), file);
    if (query.exec())
        return;
    const QSqlError error = query.lastError();
    query = QSqlQuery();
    // Most failures are the copy's own (its folder, the disk); the database
    // is called damaged only when it fails its own check.
    if (!Sound(db, engine->IntegrityCheckSql())) {
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
