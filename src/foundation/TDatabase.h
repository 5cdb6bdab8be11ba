#pragma once

#include "foundation/EKanmuriError.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>

// Asked before a missing table is created, with the question and its
// caption; the window that needs the table puts it to the user. True creates.
using TAskCreate = std::function<bool(const QString& question, const QString& caption)>;

class QSqlError;
class TEngine;

// The program's one database alias.
inline const QString kAlias = QStringLiteral("KANMURI");

enum class TFieldType
{
    Integer, // integer and long integer
    String,  // text of at most `size` characters
    Float,
    DateTime,
    Boolean,
};

struct TFieldDef
{
    QString name;
    TFieldType type;
    int size = 0;
};

// A PostgreSQL database on a server, which an alias may name instead of a
// data folder so that several PCs share one set of tables. The password is
// never stored: the driver reads the user's password file or PGPASSWORD.
struct TServerSettings
{
    QString host;
    int port = 5432;
    QString database;
    QString user;

    // "host:port/database", as messages name the server.
    QString Name() const;
};

// Rows copied into one table.
struct TCopiedTable
{
    QString table;
    qint64 rows = 0;
};

// The data folder and its database. Aliases live in engine.ini in the
// configuration folder; each names a data folder that holds one SQLite
// database, kanmuri.sqlite, or (TYPE=POSTGRES) a database on a PostgreSQL
// server. What differs between the two is a TEngine's, picked when the
// connection opens; record classes write standard SQL only.
class TDatabase
{
public:
    // The alias's folder with a trailing separator. Throws EDatabaseError when
    // the alias does not exist. The program's own alias is created on first
    // use, pointing at data/ in the configuration folder.
    static QString AliasFolder(const QString& alias);
    // Points the alias at `folder` (as typed) and saves the configuration.
    // Closes the connection first; the next query opens the new folder.
    // Throws EDatabaseError when the alias does not exist, ESettingsError
    // when engine.ini cannot be written.
    static void SetAliasFolder(const QString& alias, const QString& folder);

    // True when the alias names a server rather than a data folder.
    static bool IsServer(const QString& alias = kAlias);
    // Where the alias's data lives, as a text that changes when it moves:
    // its folder, or its server and user.
    static QString Place(const QString& alias = kAlias);
    // The alias's server settings (also kept while it names a folder).
    static TServerSettings AliasServer(const QString& alias = kAlias);
    // Points the alias at `server`, keeping its folder setting for a later
    // switch back or a copy. Closes the connection first. Throws
    // ESettingsError when engine.ini cannot be written.
    static void SetAliasServer(const QString& alias, const TServerSettings& server);
    // Connects to `server` apart from the program's own connection: an empty
    // text when it works, otherwise why not, in the user's words.
    static QString TestServer(const TServerSettings& server);

    // Copies every table of the SQLite database in `folder` into `server`'s
    // database in one transaction, creating the tables there. Refuses (throws
    // EDatabaseError, copies nothing) when a table there already holds rows.
    // `progress` hears the rows copied so far and in all. (TServerCopy.cpp)
    static QList<TCopiedTable>
    CopyFolderToServer(const QString& folder, const TServerSettings& server,
                       const std::function<void(qint64 done, qint64 total)>& progress = {});

    // The open connection to the alias's database; opens it when needed.
    // Throws EDatabaseError when the folder is missing, or the database cannot
    // be opened or read, is damaged, or was written by a newer version: then
    // the text names the file and the newest backup and says what to do.
    static QSqlDatabase Connection();
    // The engine of the open connection; opens it when needed.
    static const TEngine& Engine();
    // True when the database can be opened. Windows created at start check
    // their tables only then: an unreachable data folder is reported once,
    // and the windows still open so that it can be repointed.
    static bool IsAvailable();
    // Closes the connection (the default session).
    static void Close();

    static bool TableExists(const QString& table);
    // The stored columns of `table` in their order, with their types.
    static QList<TFieldDef> TableColumns(const QString& table);
    static void DropTable(const QString& table);
    static void CreateTable(const QString& table, const QList<TFieldDef>& fields);
    // The creation check every record class runs for its tables: true when
    // the table exists; otherwise creates it, unless `mayCreate` (when given:
    // the caller's question to the user) answers false; false in both cases.
    static bool EnsureTable(const QString& table, const QList<TFieldDef>& fields,
                            const std::function<bool()>& mayCreate = {});

    // Write transactions take the write lock when they begin and wait for it
    // up to the busy timeout, so that saves of several programs queue instead
    // of failing; readers never wait for them. TTransaction uses these.
    static void BeginWrite();
    // How long a save waits for another program's lock (10 s unless set).
    static void SetBusyTimeout(int milliseconds);
    static int BusyTimeout();
    static void CommitWrite();
    static void RollbackWrite();

    // The error to raise for a failed statement: the engine's text, or for a
    // lock that did not come within the timeout, for a damaged file and for a
    // lost server connection a text of our own that names the data folder,
    // the file or the server. A lost connection is closed, so that the next
    // action connects again.
    static EDatabaseError Failure(const QSqlError& error, const QString& sql = QString());

    // Reads the whole database once after it was opened (at start, after the
    // main window appears, and after the folder is moved) and reports a
    // damaged file as opening one does. From then on the damaged file is left
    // alone: every use gives that message until the folder changes.
    static void CheckIntegrity();

    // Writes a consistent copy of the open database into `file`, which must
    // not exist yet, while other programs may go on using the database. When
    // the copy cannot be written (a folder without write access, a full disk)
    // the text is the engine's, naming nothing damaged; only a database that
    // fails its own check is reported as damaged.
    static void CopyTo(const QString& file);

    // The database file of the alias's folder.
    static QString DatabaseFile();

    // `name` (a table or column) quoted for the alias's engine, so that a name
    // that comes from a file (with blanks, quotes or a keyword such as
    // "Order") can be used in a statement as it is.
    static QString QuoteName(const QString& name);

    // Adds an index on `columns` of `table` unless one of that name exists.
    // Indexes only speed lookups up; the table's columns stay as they are.
    static void EnsureIndex(const QString& table, const QString& name, const QStringList& columns);

    // An expression giving a date-time `column` as the date the user sees,
    // "yyyy/MM/dd", for searching dates as they are shown.
    static QString DateTextSql(const QString& column);

    static QString DatabaseFileName() { return QStringLiteral("kanmuri.sqlite"); }

    // The layout version this program writes (the database's user_version;
    // on a server, the table KanmuriLayout). A database of a higher version
    // comes from a newer program.
    static constexpr int LayoutVersion = 1;

private:
    static void EnsureProgramAlias();
};

// The report of a copy into a server: rows per table and in all.
QString CopyReportText(const QString& folder, const TServerSettings& server,
                       const QList<TCopiedTable>& copied);

// The table's largest ID; 0 for an empty table. The table name is always the
// program's own, never user input.
int MaxId(const QString& table);
