#include "foundation/Settings.h"

#include "foundation/ConfigFolder.h"
#include "foundation/EKanmuriError.h"
#include "foundation/TIniFile.h"

#ifdef Q_OS_WIN
#include <QSettings>
#endif

namespace {

#ifdef Q_OS_WIN
const QString kRegistryKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\kanmuri");
#else
const QString kSection = QStringLiteral("kanmuri");

TIniFile store()
{
    return TIniFile(ConfigFile(QStringLiteral("settings.ini")));
}
#endif

} // namespace

QString ReadSetting(const QString& name)
{
#ifdef Q_OS_WIN
    QSettings key(kRegistryKey, QSettings::NativeFormat);
    const QVariant value = key.value(name);
    if (value.isValid() && value.typeId() != QMetaType::QString)
        throw ESettingsError(QStringLiteral("設定 \"%1\" が文字列ではありません。").arg(name));
    return value.toString();
#else
    TIniFile ini = store();
    try {
        ini.EnsureSection(kSection);
    } catch (const ESettingsError&) {
        // A store that cannot be created reads as empty.
    }
    return ini.Read(kSection, name);
#endif
}

void WriteSetting(const QString& name, const QString& value)
{
#ifdef Q_OS_WIN
    QSettings key(kRegistryKey, QSettings::NativeFormat);
    key.setValue(name, value);
    key.sync();
    if (key.status() != QSettings::NoError)
        throw ESettingsError(QStringLiteral("設定 \"%1\" を保存できません。").arg(name));
#else
    store().Write(kSection, name, value);
#endif
}

void EnsureSettingsKey()
{
#ifdef Q_OS_WIN
    QSettings key(kRegistryKey, QSettings::NativeFormat);
    key.sync();
#else
    store().EnsureSection(kSection);
#endif
}
