#include "foundation/TBackup.h"

#include "foundation/EKanmuriError.h"
#include "foundation/TDatabase.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace {

const QString kPrefix = QStringLiteral("kanmuri-");
const QString kSuffix = QStringLiteral(".sqlite");

QString NameOf(const QDate& day)
{
    return kPrefix + day.toString(QStringLiteral("yyyy-MM-dd")) + kSuffix;
}

// The day in a backup's name; invalid for any other name.
QDate DayOf(const QString& name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^kanmuri-(\\d{4}-\\d{2}-\\d{2})\\.sqlite$"));
    const QRegularExpressionMatch match = pattern.match(name);
    return match.hasMatch() ? QDate::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd"))
                            : QDate();
}

struct TCopy
{
    QString path;
    QDateTime written;
    bool ahead; // written at a time still to come
};

// The backups, oldest first; copies written ahead of the clock first of all.
QList<TCopy> Copies(const QString& dataFolder)
{
    const QDir folder(TBackup::Folder(dataFolder));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<TCopy> copies;
    for (const QFileInfo& file : folder.entryInfoList(QDir::Files, QDir::Name)) {
        if (!DayOf(file.fileName()).isValid())
            continue;
        const QDateTime written = file.lastModified().toUTC();
        copies.append({file.filePath(), written, written > now});
    }
    std::stable_sort(copies.begin(), copies.end(), [](const TCopy& a, const TCopy& b) {
        if (a.ahead != b.ahead)
            return a.ahead;
        return a.written < b.written;
    });
    return copies;
}

void RemoveStalePartials(const QString& folder)
{
    const QDateTime stale =
        QDateTime::currentDateTimeUtc().addSecs(-60 * qint64(TBackup::StalePartialMinutes));
    for (const QFileInfo& file :
         QDir(folder).entryInfoList({kPrefix + QStringLiteral("*.partial")}, QDir::Files)) {
        if (file.lastModified().toUTC() < stale)
            QFile::remove(file.filePath());
    }
}

} // namespace

QString TBackup::Folder(const QString& dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("backup"));
}

QStringList TBackup::List(const QString& dataFolder)
{
    QStringList backups;
    for (const TCopy& copy : Copies(dataFolder))
        backups << copy.path;
    return backups;
}

QString TBackup::Newest(const QString& dataFolder)
{
    const QDate today = QDate::currentDate();
    const QList<TCopy> copies = Copies(dataFolder);
    for (auto copy = copies.rbegin(); copy != copies.rend(); ++copy) {
        if (!copy->ahead && DayOf(QFileInfo(copy->path).fileName()) <= today)
            return copy->path;
    }
    return QString();
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
            QStringLiteral("データベースのバックアップを \"%1\" に作れませんでした。\n%2\n"
                           "データベース \"%3\" 自体に問題はありません。作業はこのまま続けられ"
                           "ます。バックアップのフォルダに書き込めるか、ディスクに空きがあるかを"
                           "確かめてください。")
                .arg(QDir::toNativeSeparators(folder), why,
                     QDir::toNativeSeparators(TDatabase::DatabaseFile())));
    };
    if (!QDir().mkpath(folder))
        throw fail(QStringLiteral("フォルダを作成できません。"));
    RemoveStalePartials(folder);

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
        // A damaged database is reported as such, not as a backup problem.
        if (!TDatabase::IsAvailable())
            throw;
        throw fail(e.text());
    }
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        if (!QFileInfo::exists(target))
            throw fail(QStringLiteral("ファイルの名前を変えられません。"));
        return QString(); // another program made today's copy meanwhile
    }

    QList<TCopy> copies = Copies(data);
    copies.removeIf([&](const TCopy& copy) { return QFileInfo(copy.path) == QFileInfo(target); });
    for (qsizetype i = 0; i + Kept - 1 < copies.size(); ++i)
        QFile::remove(copies[i].path);
    return target;
}
