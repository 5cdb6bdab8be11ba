#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

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

// The data folder and its database. Aliases live in engine.ini in the
// configuration folder; each names a data folder that holds one SQLite
// database, kanmuri.sqlite. Everything engine-specific stays in this class
// and TQuery, so that record classes write standard SQL only.
class TDatabase
{
public:
    // The alias's folder with a trailing separator. Throws EDatabaseError when
    // the alias does not exist. The program's own alias is created on first
    // use, pointing at data/ in the configuration folder.
    static QString AliasFolder(const QString& alias);
    // Points the alias at `folder` (as typed) and saves the configuration.
    // Closes the connection first; the next query opens the new folder. On
    // failure shows "Failed".
    static void SetAliasFolder(const QString& alias, const QString& folder);

    // The open connection to the alias's database; opens it when needed.
    // Throws EDatabaseError when the folder is missing or cannot be opened.
    static QSqlDatabase Connection();
    // True when the database can be opened. Windows created at start check
    // their tables only then: an unreachable data folder is reported once,
    // and the windows still open so that it can be repointed.
    static bool IsAvailable();
    // Closes the connection (the default session).
    static void Close();

    static bool TableExists(const QString& table);
    static void CreateTable(const QString& table, const QList<TFieldDef>& fields);
    // The creation check every record class runs for its tables: true when
    // the table exists; otherwise, after `question` (when given) is answered
    // Yes, creates it; false in both cases.
    static bool EnsureTable(const QString& table, const QList<TFieldDef>& fields,
                            const QString& question = QString(),
                            const QString& caption = QString());

    // Adds an index on `columns` of `table` unless one of that name exists.
    // Indexes only speed lookups up; the table's columns stay as they are.
    static void EnsureIndex(const QString& table, const QString& name, const QStringList& columns);

    static QString DatabaseFileName() { return QStringLiteral("kanmuri.sqlite"); }

private:
    static void EnsureProgramAlias();
};

// The table's largest ID; 0 for an empty table. The table name is always the
// program's own, never user input.
int MaxId(const QString& table);
