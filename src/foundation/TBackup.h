#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The daily copies of the database: "backup/kanmuri-yyyy-MM-dd.sqlite" in the
// data folder, one per day, the newest 14 kept. A copy is a consistent
// snapshot taken while the database is in use, and opens as a database of its
// own; restoring one is copying it back as kanmuri.sqlite.
//
// The age of a copy is when it was written (its file time), not the date in
// its name: the clock may have been wrong or put back since. A copy written
// at a time still to come (by a clock that ran ahead) counts as the oldest.
class TBackup
{
public:
    static constexpr int Kept = 14;
    // A partial copy not written to for this long is left over from a
    // program that ended part way (a crash, a power cut).
    static constexpr int StalePartialMinutes = 60;

    // The backup folder of the data folder `dataFolder`.
    static QString Folder(const QString& dataFolder);
    // The backups in `dataFolder`, oldest first (full paths).
    static QStringList List(const QString& dataFolder);
    // The newest backup in `dataFolder` written up to now, leaving out copies
    // named after a day later than today; empty when there is none.
    static QString Newest(const QString& dataFolder);

    // At the first start of `today`: copies the open database into the
    // backup folder, removes partial copies left over by programs that ended
    // part way, and removes all but the newest Kept copies (never the one
    // just made). Returns the copy made, or an empty text when today's copy
    // already exists. Throws EKanmuriError, naming the folder and saying
    // that the database itself is sound, when the copy cannot be made (a
    // damaged database gives the damaged-database text instead). Makes
    // nothing when the alias names a server.
    static QString Daily(const QDate& today = QDate::currentDate());
};
