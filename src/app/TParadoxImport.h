#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Brings an office's earlier data along: the Paradox tables of its old data
// folder are read into the current data folder's database, column by column
// by name, converted to the types of our columns. All or nothing: one
// transaction, and a file that cannot be read stops the import with the
// database as it was. Tables that already hold rows here are replaced only
// when asked; two offices' rows are never mixed.
class TParadoxImport
{
public:
    struct TTableReport
    {
        QString Table;
        qint64 Read = 0;
        qint64 Stored = 0;
    };
    // Rows done so far, rows in all.
    using TProgress = std::function<void(qint64 done, qint64 total)>;

    // The tables an import looks for, in the order it reads them.
    static const QStringList& Tables();

    explicit TParadoxImport(const QString& folder);

    // The tables of the list that have a file in the folder.
    QStringList FoundTables() const;
    // Of those, the ones whose table here already holds rows (a standards
    // table holding only the standards every new data folder gets does not
    // count).
    QStringList TablesHoldingData() const;

    // Reads every table found. With `replace` the tables that hold rows are
    // emptied first; without it such tables stop the import before anything
    // is written. Throws EKanmuriError with a text for the user.
    QList<TTableReport> Run(bool replace, const TProgress& progress = {});

    // "Koji1: 12 件読み込み、12 件取り込み" per table.
    static QString ReportText(const QList<TTableReport>& reports);

private:
    QString FileOf(const QString& table) const;
    QString m_folder;
};
