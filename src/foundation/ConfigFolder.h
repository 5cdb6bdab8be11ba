#pragma once

#include <QString>

// The per-user configuration folder: KANMURI_CONFIG_DIR when set, else the
// platform's per-user configuration location. Holds settings.ini (off
// Windows), engine.ini and, by default, the data folder. Created when missing.
QString ConfigFolder();

// File `name` inside the configuration folder.
QString ConfigFile(const QString& name);
