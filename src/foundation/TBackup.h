#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The daily copies of the database: "backup/kanmuri-yyyy-MM-dd.sqlite" in the
// data folder, one per day, the newest 14 kept. A copy is a consistent
// snapshot taken while the database is in use, and opens as a database of its
// own; restoring one is copying it back as kanmuri.sqlite.
class TBackup
{
public:
    static constexpr int Kept = 14;

    // The backup folder of the data folder `dataFolder`.
    static QString Folder(const QString& dataFolder);
    // The backups in `dataFolder`, oldest first (full paths).
    static QStringList List(const QString& dataFolder);
    // The newest backup in `dataFolder`; empty when there is none.
    static QString Newest(const QString& dataFolder);

    // At the first start of `today`: copies the open database into the
    // backup folder and removes all but the newest Kept copies. Returns the
    // copy made, or an empty text when today's copy already exists. Throws
    // EKanmuriError, naming the folder, when the copy cannot be made. Makes
    // nothing when the alias names a server.
    static QString Daily(const QDate& today = QDate::currentDate());
};
