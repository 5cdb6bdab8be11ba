#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// The command line's "copy-data": moves an office onto a database server by
// copying the SQLite data folder into an empty server database.
//
//   pTarmak copy-data --to-server [--from FOLDER] [--host HOST] [--port PORT]
//                     [--database NAME] [--user USER]
//
// The folder defaults to the alias's folder (PATH in engine.ini, kept when
// the alias is switched to a server), the server to the alias's HOST, PORT,
// DATABASE and USER. The alias itself is not changed. Returns 0 copied (the
// report on `out`), 1 not copied (why on `err`; nothing was written to the
// server), 2 a wrong command line.
int RunCopyDataCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The command's lines for "pTarmak --help".
QString CopyDataUsage();
