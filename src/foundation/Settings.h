#pragma once

#include <QString>

// The user's settings: named string values, names not case-sensitive. On
// Windows they live in the registry under HKEY_CURRENT_USER\Software\kanmuri,
// elsewhere in settings.ini of the configuration folder. Nothing is cached:
// every call reads or writes the store, so the last writer wins.

// The value's text; empty when missing. Creates the key (not the value).
QString ReadSetting(const QString& name);

// Writes the value. Throws ESettingsError when the store cannot be written.
void WriteSetting(const QString& name, const QString& value);

// Creates the settings key when missing, so a first start leaves the store in
// place; reads nothing.
void EnsureSettingsKey();
