#pragma once

#include <QString>

// Whether a folder lies on a network file system (SMB/CIFS, NFS and the
// like), where the database's file locking cannot be trusted between PCs.

// A file system type as the system names it ("nfs4", "cifs", "ext4").
bool IsNetworkFileSystemType(const QString& type);

bool IsNetworkFolder(const QString& folder);

// At start and after the data folder is moved: when the alias's folder is on
// a network file system, says once per folder that several PCs must not
// share it.
void WarnIfNetworkDataFolder();
