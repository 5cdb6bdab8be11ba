#include "foundation/TDatabase.h"

#include "foundation/ConfigFolder.h"
#include "foundation/EKanmuriError.h"
#include "foundation/TIniFile.h"
#include "foundation/TPrompt.h"
#include "foundation/TQuery.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const QString kConnection = QStringLiteral("kanmuri");
const QString kPath = QStringLiteral("PATH");

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

QString Quoted(const QString& name)
{
    QString n = name;
    return u'"' + n.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

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
    Close();
    try {
        if (alias.compare(kAlias, Qt::CaseInsensitive) == 0)
            EnsureProgramAlias();
        TIniFile ini = engineConfig();
        if (!ini.HasSection(alias))
            throw ESettingsError(alias);
        ini.Write(alias, kPath, folder);
    } catch (const EKanmuriError&) {
        TPrompt::Message(QStringLiteral("Failed"));
    }
}

QSqlDatabase TDatabase::Connection()
{
    QSqlDatabase db = QSqlDatabase::database(kConnection, false);
    if (db.isValid() && db.isOpen())
        return db;
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
    db.setDatabaseName(QDir(folder).filePath(DatabaseFileName()));
    // Another program may be writing the same data folder: wait for its lock.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!db.open())
        throw EDatabaseError(db.lastError().text());
    QSqlQuery wal(db);
    if (!wal.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
        throw EDatabaseError(wal.lastError().text());
    // Each commit reaches the disk before the program goes on: a saved day
    // must survive a power cut, whatever the engine's own default is.
    if (!wal.exec(QStringLiteral("PRAGMA synchronous=FULL")))
        throw EDatabaseError(wal.lastError().text());
    return db;
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
}

bool TDatabase::TableExists(const QString& table)
{
    QSqlQuery query(Connection());
    query.prepare(QStringLiteral(
        "select count(*) from sqlite_master where type = 'table' and lower(name) = lower(:name)"));
    query.bindValue(QStringLiteral(":name"), table);
    if (!query.exec() || !query.next())
        throw EDatabaseError(query.lastError().text());
    return query.value(0).toInt() > 0;
}

void TDatabase::CreateTable(const QString& table, const QList<TFieldDef>& fields)
{
    QStringList columns;
    for (const TFieldDef& f : fields)
        columns << Quoted(f.name) + u' ' + SqlType(f);
    QSqlQuery query(Connection());
    if (!query.exec(QStringLiteral("create table %1 (%2)")
                        .arg(Quoted(table), columns.join(QStringLiteral(", ")))))
        throw EDatabaseError(query.lastError().text());
}

bool TDatabase::EnsureTable(const QString& table, const QList<TFieldDef>& fields,
                            const QString& question, const QString& caption)
{
    if (TableExists(table))
        return true;
    if (!question.isEmpty() && !TPrompt::YesNo(question, caption.isEmpty() ? table : caption))
        return false;
    CreateTable(table, fields);
    return false;
}

void TDatabase::EnsureIndex(const QString& table, const QString& name, const QStringList& columns)
{
    QStringList quoted;
    for (const QString& column : columns)
        quoted << Quoted(column);
    QSqlQuery query(Connection());
    if (!query.exec(QStringLiteral("create index if not exists %1 on %2 (%3)")
                        .arg(Quoted(name), Quoted(table), quoted.join(QStringLiteral(", ")))))
        throw EDatabaseError(query.lastError().text());
}

int MaxId(const QString& table)
{
    TQuery query(QStringLiteral("Select Max(ID) from ") + table);
    query.Exec();
    return query.Next() ? query.Integer(0) : 0;
}
