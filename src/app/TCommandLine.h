#pragma once

#include <QStringList>

class QTextStream;

// The program's commands, for offices that file their sheets as PDF and for
// batch use, and for bringing data in and out: they run without any window
// and without a display.
//
//   pTarmak sheet --project CODE --work-type NAME --mixture NAME
//                 [--per-mixture] [--one-line] [--pdf FILE] [--xlsx FILE]
//   pTarmak acceptance --mixture NAME [--method 0|1] --pdf FILE
//   pTarmak export-csv --project CODE --work-type NAME --mixture NAME
//                      [--per-mixture] --csv FILE
//   pTarmak import-paradox FOLDER [--replace]
//   pTarmak copy-data --to-server [--from FOLDER] [--host H] [--port P]
//                     [--database D] [--user U]
//   pTarmak --help
//
// Without arguments (or with Qt's own options) the program starts its
// windows as usual.
class TCommandLine
{
public:
    // True when the arguments ask for a command rather than the windows.
    static bool IsCommand(int argc, char** argv);
    // Runs the command in an application of its own, without a display, and
    // returns the program's exit status.
    static int Main(int argc, char** argv);
    // Runs the command of `arguments` (without the program's name), writing
    // to `out` and `err`: 0 when done, 1 when it failed, 2 when the command
    // line itself is wrong.
    static int Run(const QStringList& arguments, QTextStream& out, QTextStream& err);
};
