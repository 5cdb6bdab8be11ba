#pragma once

#include <QString>

// The string `key` ("FileVersion") of a file's version resource, from its
// first language and code page; empty when the file has none. Where files
// carry no version resources, the program's own file answers with the
// program's version.
QString FileVersionString(const QString& fileName, const QString& key);

// The program's own version, "major.minor.patch.build".
QString ProgramVersion();
