#include "foundation/THelp.h"

#include "foundation/TPrompt.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString THelp::Folder()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help"));
}

QString THelp::TopicFile(const QString& context)
{
    for (const char* suffix : {".html", ".htm"}) {
        const QString file = QDir(Folder()).filePath(context + QLatin1String(suffix));
        if (QFileInfo(file).isFile())
            return file;
    }
    return QString();
}

void THelp::Show(const QString& context)
{
    const QString file = TopicFile(context);
    if (file.isEmpty()) {
        TPrompt::Message(
            QStringLiteral("ヘルプがインストールされていません。\n(%1 に %2 がありません)")
                .arg(QDir::toNativeSeparators(Folder()), context),
            QStringLiteral("ヘルプ"));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        TPrompt::Message(QStringLiteral("ヘルプを表示できませんでした。\n%1")
                             .arg(QDir::toNativeSeparators(file)),
                         QStringLiteral("ヘルプ"));
}
