#include "foundation/TDatabase.h"

#include "foundation/DatabaseTexts.h"
#include "foundation/EKanmuriError.h"
#include "foundation/TPostgresEngine.h"
#include "foundation/TSqliteEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

// The copy of a data folder's database into an empty database on a server.

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

qint64 CopyRows(QSqlDatabase& source, QSqlDatabase& target, const TPostgresEngine& engine,
                const QString& table, const QList<TFieldDef>& fields, TCopyCount& count)
{
    QSqlQuery read(source);
    read.setForwardOnly(true);
    if (!read.exec(QStringLiteral("select * from %1").arg(TEngine::Quoted(table))))
        throw EDatabaseError(CopyFailedText(table, read.lastError()));
    QStringList columns;
    for (const TFieldDef& f : fields)
        columns << engine.QuoteName(f.name);
    const int perStatement = std::max(1, 2000 / int(std::max<qsizetype>(1, fields.size())));
    const QString row = u'(' + QStringList(fields.size(), QStringLiteral("?")).join(u',') + u')';
    QList<QVariantList> batch;
    qint64 copied = 0;
    const auto flush = [&] {
        if (batch.isEmpty())
            return;
        QSqlQuery write(target);
        const QString sql = QStringLiteral("insert into %1 (%2) values %3")
                                .arg(engine.QuoteName(table), columns.join(u','),
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

// The tables of the source database, their layouts and their rows in all,
// read in one snapshot while other programs may go on saving.
struct TSource
{
    QStringList tables;
    QList<QList<TFieldDef>> layouts;
    qint64 rows = 0;
};

TSource ReadSource(QSqlQuery& query, const QString& file)
{
    // The snapshot lasts until the copy rolls it back.
    if (!query.exec(QStringLiteral("begin")))
        throw EDatabaseError(UnreadableText(file));
    TSource source;
    if (!query.exec(TSqliteEngine::TableNamesSql()))
        throw EDatabaseError(UnreadableText(file));
    while (query.next())
        source.tables << query.value(0).toString();
    for (const QString& table : source.tables) {
        if (!query.exec(TSqliteEngine::TableInfoSql(table)))
            throw EDatabaseError(UnreadableText(file));
        source.layouts << TSqliteEngine::ColumnsListed(query);
    }
    for (const QString& table : source.tables) {
        if (!query.exec(QStringLiteral("select count(*) from %1").arg(TEngine::Quoted(table))) ||
            !query.next())
            throw EDatabaseError(UnreadableText(file));
        source.rows += query.value(0).toLongLong();
    }
    return source;
}

EDatabaseError CannotConnect(const TServerSettings& server, const QSqlError& error)
{
    return EDatabaseError(
        CannotConnectText(server, TPostgresEngine::ConnectProblem(server, error)));
}

// Refused rather than mixed in: the server must not be newer than us.
void CheckTargetVersion(QSqlDatabase& target, const TServerSettings& server)
{
    const QString layout = TPostgresEngine::LayoutTable();
    QSqlQuery version(target);
    if (!version.exec(QStringLiteral("select count(*) from information_schema.tables where "
                                     "table_schema = current_schema() and table_name = '%1'")
                          .arg(layout)) ||
        !version.next())
        throw CannotConnect(server, version.lastError());
    if (version.value(0).toInt() > 0) {
        if (!version.exec(QStringLiteral("select max(version) from %1").arg(layout)) ||
            !version.next())
            throw CannotConnect(server, version.lastError());
        if (version.value(0).toInt() > TDatabase::LayoutVersion)
            throw EDatabaseError(NewerVersionText(server.Name(), QString()));
    }
}

// Refuses a server whose tables hold rows; checked under the write lock, so
// that no PC can save in between.
void CheckTargetEmpty(QSqlDatabase& target, QSqlQuery& write, const TServerSettings& server)
{
    QStringList existing, filled;
    if (!write.exec(QStringLiteral("select table_name from information_schema.tables where "
                                   "table_schema = current_schema() and table_type = 'BASE "
                                   "TABLE' order by table_name")))
        throw CannotConnect(server, write.lastError());
    while (write.next())
        existing << write.value(0).toString();
    for (const QString& table : existing) {
        if (table == TPostgresEngine::LayoutTable())
            continue;
        QSqlQuery count(target);
        if (!count.exec(QStringLiteral("select count(*) from %1").arg(TEngine::Quoted(table))) ||
            !count.next())
            throw CannotConnect(server, count.lastError());
        if (count.value(0).toLongLong() > 0)
            filled << QStringLiteral("表 %1: %2 行").arg(table).arg(count.value(0).toLongLong());
    }
    if (!filled.isEmpty())
        throw EDatabaseError(CopyRefusedText(server, filled));
}

// Takes the write lock on the server, checks that it may be copied into and
// marks it with this program's layout.
void PrepareTarget(QSqlDatabase& target, QSqlQuery& write, const TServerSettings& server)
{
    const TPostgresEngine engine(server);
    if (server.host.isEmpty() || server.database.isEmpty() || server.user.isEmpty() ||
        !target.open())
        throw CannotConnect(server, target.lastError());
    if (!write.exec(engine.BusyTimeoutSql(TDatabase::BusyTimeout())))
        throw CannotConnect(server, write.lastError());
    CheckTargetVersion(target, server);
    if (!write.exec(QStringLiteral("begin")) || !write.exec(TPostgresEngine::WriteLockSql()))
        throw CannotConnect(server, write.lastError());
    CheckTargetEmpty(target, write, server);
    const QString layout = TPostgresEngine::LayoutTable();
    if (!write.exec(
            QStringLiteral("create table if not exists %1 (version integer)").arg(layout)) ||
        !write.exec(QStringLiteral("delete from %1").arg(layout)) ||
        !write.exec(QStringLiteral("insert into %1 (version) values (%2)")
                        .arg(layout)
                        .arg(TDatabase::LayoutVersion)))
        throw CannotConnect(server, write.lastError());
}

QList<TCopiedTable> CopyTables(QSqlDatabase& source, QSqlDatabase& target, const QString& file,
                               const TServerSettings& server, const TCopyProgress& progress)
{
    if (!source.open())
        throw EDatabaseError(UnreadableText(file));
    QSqlQuery query(source);
    const TSource tables = ReadSource(query, file);
    TCopyCount count{progress};
    count.total = tables.rows;
    QSqlQuery write(target);
    PrepareTarget(target, write, server);
    const TPostgresEngine engine(server);
    QList<TCopiedTable> copied;
    for (int t = 0; t < tables.tables.size(); ++t) {
        const QString& table = tables.tables[t];
        // An empty table of the same name (made by a program that already
        // started on the server) takes the copied table's layout.
        QStringList statements{
            QStringLiteral("drop table if exists %1 cascade").arg(engine.QuoteName(table))};
        statements << engine.CreateTableSql(table, tables.layouts[t]);
        for (const QString& statement : statements) {
            if (!write.exec(statement))
                throw EDatabaseError(CopyFailedText(table, write.lastError()));
        }
        copied.append({table, CopyRows(source, target, engine, table, tables.layouts[t], count)});
    }
    if (!write.exec(QStringLiteral("commit")))
        throw CannotConnect(server, write.lastError());
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
                .arg(QDir::toNativeSeparators(folder), DatabaseFileName()));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
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
            QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeout()));
        QSqlDatabase target = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), targetName);
        TPostgresEngine::Configure(target, server);
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
                       .arg(QDir::toNativeSeparators(folder), server.Name());
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
