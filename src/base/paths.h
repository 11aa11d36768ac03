#pragma once

#include <QString>

// The settings file holding the program's settings key:
// WIFITICKETER_SETTINGS, else $XDG_CONFIG_HOME/wifiTicketer/settings.reg.
// Empty when the platform names no configuration folder.
QString defaultSettingsFile();

// The data folder holding the list files and the history:
// WIFITICKETER_DATA_DIR, else $XDG_DATA_HOME/wifiTicketer.
// Empty when the platform names no data folder.
QString defaultDataFolder();

// Creates the folder (an existing one is fine) before a write; false when it
// cannot be had.
bool ensureFolder(const QString &folder);
