#pragma once

#include <QList>
#include <QString>

struct AppState;
enum class ListFile;

// Builds the state as the program starts, before any window exists: settings
// with the program users, the routers (seeded from the legacy values when there
// are none), the designs, the hotspot profiles and the username list. Shows
// nothing. The sales history is loaded at login.
//
// A list file that does not read whole is kept as it is and listed in
// `damagedLists`, for the front end to tell the operator with
// damagedListsText(); its list holds what could be read. A Routers.bin that
// holds bytes but yields no router is not replaced by seeded routers: the list
// stays empty and `routersUnreadable` is set too, for the front end to tell the
// operator with routersUnreadableText(). A settings file
// that is there but cannot be read leaves the defaults and sets
// `settingsUnreadable` (settingsUnreadableText()); it is never replaced.
void startUp(AppState &state);

// What the operator is told when the settings file is there but could not be
// read (`settingsUnreadable`).
QString settingsUnreadableText(const QString &settingsFile);

// What the operator is told when Routers.bin of the data folder could not be
// read.
QString routersUnreadableText(const QString &dataFolder);

// The list file's name in the data folder ("Routers.bin", ...).
QString listFileName(ListFile file);

// What the operator is told about a list file of the data folder that did not
// read whole: which file, that it is kept as it is and that nothing is saved
// over it until it is mended or moved away.
QString damagedListText(ListFile file, const QString &dataFolder);

// The texts of those of `files` that are among the state's damaged lists, one
// paragraph each, in ListFile order; empty when none is.
QString damagedListsText(const AppState &state, const QList<ListFile> &files);
// The same for every damaged list.
QString damagedListsText(const AppState &state);
