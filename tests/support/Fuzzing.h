#pragma once

// Fuzz cases for every reader of files that come from outside the program:
// Paradox tables, Plant.Dat, mix data files (.Goz), settings.ini and
// engine.ini. Each case makes a file, partly well formed and partly damaged,
// from a seed, and reads it as the program does. A case must be read whole
// (and then give back what was written, where that is known) or be refused
// with an EKanmuriError; a crash, a sanitizer report or a case that runs
// past its time limit ends the program. The fuzz tests and bench_fuzz run the
// same cases.

#include <QString>
#include <QStringList>

namespace Fuzz {

struct TReport
{
    QString reader;
    int cases = 0;
    int read = 0;    // read whole
    int refused = 0; // refused with a message
    qint64 slowestMs = 0;
    int slowestCase = -1;
    qint64 totalMs = 0;
    QStringList failures; // "case N: what went wrong", the first few

    QString Summary() const;
};

// The readers, as Run knows them.
QStringList Readers();

// Runs cases `first` to `first + count - 1` of `reader` from `seed`; each
// case has a seed of its own derived from both, so a failing case runs
// again alone. `folder` is an empty folder for the files, the configuration
// folder (settings.ini, engine.ini) among them for the run. A case running
// longer than `limitMs` ends the program with a message naming it.
TReport Run(const QString& reader, int count, quint32 seed, const QString& folder, int limitMs,
            int first = 0);

// A template for QTemporaryDir of the folder to give Run: on a RAM disk where
// there is one, since the cases write (and sync to disk) thousands of files
// and the disk's speed would otherwise set the pace.
QString ScratchTemplate();

} // namespace Fuzz
