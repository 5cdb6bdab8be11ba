#include "foundation/TBackup.h"

#include "foundation/EKanmuriError.h"
#include "foundation/TDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kPrefix = QStringLiteral("kanmuri-");
const QString kSuffix = QStringLiteral(".sqlite");

QString NameOf(const QDate& day)
{
    return kPrefix + day.toString(QStringLiteral("yyyy-MM-dd")) + kSuffix;
}

} // namespace

QString TBackup::Folder(const QString& dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("backup"));
}

QStringList TBackup::List(const QString& dataFolder)
{
    static const QRegularExpression pattern(
        QStringLiteral("^kanmuri-\\d{4}-\\d{2}-\\d{2}\\.sqlite$"));
    const QDir folder(Folder(dataFolder));
    QStringList names = folder.entryList(QDir::Files, QDir::Name);
    QStringList backups;
    // Named by date, so the name order is the age order.
    for (const QString& name : names) {
        if (pattern.match(name).hasMatch())
            backups << folder.filePath(name);
    }
    return backups;
}

QString TBackup::Newest(const QString& dataFolder)
{
    const QStringList backups = List(dataFolder);
    return backups.isEmpty() ? QString() : backups.last();
}

QString TBackup::Daily(const QDate& today)
{
    // A server's data is backed up on the server (pg_dump), not by each PC.
    if (TDatabase::IsServer())
        return QString();
    const QString data = TDatabase::AliasFolder(kAlias);
    const QString folder = Folder(data);
    const QString target = QDir(folder).filePath(NameOf(today));
    if (QFileInfo::exists(target))
        return QString();
    const auto fail = [&](const QString& why) {
        return EKanmuriError(
            QStringLiteral("データベースのバックアップを \"%1\" に作れませんでした。"
                           "\n%2\n作業はこのまま続けられます。")
                .arg(QDir::toNativeSeparators(folder), why));
    };
    if (!QDir().mkpath(folder))
        throw fail(QStringLiteral("フォルダを作成できません。"));

    // Written under a name of its own and renamed when whole, so that a copy
    // cut short (or one being written by another program now) never looks
    // like a backup.
    const QString partial =
        target + QStringLiteral(".%1.partial").arg(QCoreApplication::applicationPid());
    QFile::remove(partial);
    try {
        TDatabase::CopyTo(partial);
    } catch (const EKanmuriError& e) {
        QFile::remove(partial);
        throw fail(e.text());
    }
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        if (!QFileInfo::exists(target))
            throw fail(QStringLiteral("ファイルの名前を変えられません。"));
        return QString(); // another program made today's copy meanwhile
    }

    const QStringList backups = List(data);
    for (qsizetype i = 0; i + Kept < backups.size(); ++i)
        QFile::remove(backups[i]);
    return target;
}
