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
    damagedFile.clear();
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
    integrityChecked = false;
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
}

bool TDatabase::TableExists(const QString& table)
{
    QSqlQuery query(Connection());
    if (!query.prepare(QStringLiteral("select count(*) from sqlite_master where type = 'table' "
                                      "and lower(name) = lower(:name)")))
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
    QSqlQuery query(TDatabase::Connection());
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(Quoted(table))))
        throw TDatabase::Failure(query.lastError());
    QStringList columns;
    while (query.next())
        columns << query.value(1).toString();
    return columns;
}

} // namespace

QList<TFieldDef> TDatabase::TableColumns(const QString& table)
{
    QSqlQuery query(Connection());
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(Quoted(table))))
        throw Failure(query.lastError());
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

void TDatabase::DropTable(const QString& table)
{
    QSqlQuery query(Connection());
    if (!query.exec(QStringLiteral("drop table if exists %1").arg(Quoted(table))))
        throw Failure(query.lastError());
}

void TDatabase::CreateTable(const QString& table, const QList<TFieldDef>& fields)
{
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
            throw EDatabaseError(NewerVersionText(
                DatabaseFile(), QStringLiteral(" (表 %1 の列が違います)").arg(table)));
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
    QStringList quoted;
    for (const QString& column : columns)
        quoted << Quoted(column);
    QSqlQuery query(Connection());
    if (!query.exec(QStringLiteral("create index if not exists %1 on %2 (%3)")
                        .arg(Quoted(name), Quoted(table), quoted.join(QStringLiteral(", ")))))
        throw Failure(query.lastError());
}

void TDatabase::SetBusyTimeout(int milliseconds)
{
    busyTimeout = milliseconds;
    QSqlDatabase db = QSqlDatabase::database(kConnection, false);
    if (db.isValid() && db.isOpen())
        QSqlQuery(db).exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(milliseconds));
}

void TDatabase::BeginWrite()
{
    QSqlQuery query(Connection());
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        throw Failure(query.lastError());
}

void TDatabase::CommitWrite()
{
    QSqlQuery query(Connection());
    if (!query.exec(QStringLiteral("COMMIT"))) {
        const EDatabaseError failure = Failure(query.lastError());
        RollbackWrite();
        throw failure;
    }
}

void TDatabase::RollbackWrite()
{
    QSqlDatabase db = QSqlDatabase::database(kConnection, false);
    if (!db.isValid() || !db.isOpen())
        return;
    QSqlQuery query(db);
    query.exec(QStringLiteral("ROLLBACK"));
}

EDatabaseError TDatabase::Failure(const QSqlError& error, const QString& sql)
{
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
    if (integrityChecked)
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
    QSqlQuery query(Connection());
    if (!query.prepare(QStringLiteral("VACUUM INTO :file")))
        throw Failure(query.lastError());
    query.bindValue(QStringLiteral(":file"), file);
    if (!query.exec())
        throw Failure(query.lastError());
}

int MaxId(const QString& table)
{
    TQuery query(QStringLiteral("Select Max(ID) from ") + table);
    query.Exec();
    return query.Next() ? query.Integer(0) : 0;
}
