#include "foundation/ConfigFolder.h"

#include <QDir>
#include <QStandardPaths>

QString ConfigFolder()
{
    QString folder = qEnvironmentVariable("KANMURI_CONFIG_DIR");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/kanmuri");
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    QDir().mkpath(folder);
    return folder;
}

QString ConfigFile(const QString& name)
{
    return ConfigFolder() + u'/' + name;
}
