#pragma once

#include <QString>

struct TServerSettings;

// The database layer's messages, shared by TDatabase, its engines and the
// copy to a server.

// A lock that did not come within the timeout, naming the data folder or the
// alias's server.
QString FolderLockedText();
QString ServerLockedText();
// A database file that is damaged or cannot be read, with the newest backup
// and what to do.
QString UnreadableText(const QString& file);
// A database (a file or a server) of a newer layout; `detail` says more.
QString NewerVersionText(const QString& place, const QString& detail);
QString CannotConnectText(const TServerSettings& server, const QString& problem);
QString LostText(const QString& server);
QString CommitUnknownText(const QString& server);
QString TooLongText();
// The alias's server as messages name it; empty when it cannot be read.
QString ServerNameOfAlias();
