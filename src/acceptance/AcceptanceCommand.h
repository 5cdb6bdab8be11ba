#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// The command line's "acceptance": the acceptance criteria sheet of a
// mixture written to PDF without any window, with the stored print settings.
//
//   pTarmak acceptance --mixture NAME [--method 0|1] --pdf FILE
//
// `arguments` are those after the word "acceptance". Returns the exit
// status: 0 written, 1 not written (unknown mixture, a mixture that cannot
// be calculated, a file that cannot be written: the reason on `err`), 2 the
// command line is wrong (what is wrong and the usage on `err`). "--help"
// writes the usage to `out`. Nothing is written to the file unless the whole
// sheet is. Needs a QGuiApplication (no display).
int RunAcceptanceCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The command's lines for "pTarmak --help".
QString AcceptanceUsage();
