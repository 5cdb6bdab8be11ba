#include "foundation/NetworkFolder.h"

#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "foundation/TPrompt.h"

#include <QDir>
#include <QStorageInfo>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

bool IsNetworkFileSystemType(const QString& type)
{
    const QString t = type.toLower();
    static const QStringList network = {
        QStringLiteral("nfs"),   QStringLiteral("nfs4"),      QStringLiteral("cifs"),
        QStringLiteral("smb3"),  QStringLiteral("smbfs"),     QStringLiteral("smb"),
        QStringLiteral("ncpfs"), QStringLiteral("afs"),       QStringLiteral("9p"),
        QStringLiteral("ceph"),  QStringLiteral("glusterfs"), QStringLiteral("davfs"),
        QStringLiteral("webdav")};
    if (network.contains(t))
        return true;
    // Network file systems mounted in user space: "fuse.sshfs" and the like.
    return t.startsWith(QStringLiteral("fuse.")) &&
           (t.contains(QStringLiteral("sshfs")) || t.contains(QStringLiteral("smb")) ||
            t.contains(QStringLiteral("dav")) || t.contains(QStringLiteral("nfs")));
}

bool IsNetworkFolder(const QString& folder)
{
#ifdef Q_OS_WIN
    const QString native = QDir::toNativeSeparators(QDir(folder).absolutePath());
    if (native.startsWith(QStringLiteral("\\\\")))
        return true;
    const QString root = native.left(3);
    return GetDriveTypeW(reinterpret_cast<LPCWSTR>(root.utf16())) == DRIVE_REMOTE;
#else
    const QStorageInfo storage(folder);
    return storage.isValid() &&
           IsNetworkFileSystemType(QString::fromUtf8(storage.fileSystemType()));
#endif
}

void WarnIfNetworkDataFolder()
{
    // A server is the safe way to share data between PCs.
    if (TDatabase::IsServer())
        return;
    const QString folder = TDatabase::AliasFolder(kAlias);
    const QString setting = QStringLiteral("NetworkFolderWarned");
    if (!IsNetworkFolder(folder) || ReadSetting(setting) == folder)
        return;
    TPrompt::Message(
        QStringLiteral("データ格納フォルダ \"%1\" はネットワーク上にあります。\n"
                       "このフォルダを複数のパソコンの pTarmak で同時に使うと、データが壊れる"
                       "おそれがあります。1 台のパソコンで使うか、各パソコンに別のデータ格納"
                       "フォルダを用意してください（1 台のパソコンで複数の pTarmak を開くのは"
                       "問題ありません）。")
            .arg(QDir::toNativeSeparators(folder)));
    WriteSetting(setting, folder);
}
