#pragma once

#include <QString>

struct AppState;

// Builds the state as the program starts, before any window exists: settings
// with the program users, the routers (seeded from the legacy values when there
// are none), the designs, the hotspot profiles and the username list. Shows
// nothing. The sales history is loaded at login.
//
// A Routers.bin that holds bytes but yields no router is not replaced by
// seeded routers: the list stays empty and `routersUnreadable` is set, for the
// front end to tell the operator with routersUnreadableText(). A settings file
// that is there but cannot be read leaves the defaults and sets
// `settingsUnreadable` (settingsUnreadableText()); it is never replaced.
void startUp(AppState &state);

// What the operator is told when the settings file is there but could not be
// read (`settingsUnreadable`).
QString settingsUnreadableText(const QString &settingsFile);

// What the operator is told when Routers.bin of the data folder could not be
// read.
QString routersUnreadableText(const QString &dataFolder);
