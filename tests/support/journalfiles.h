#pragma once

#include "routersim/routerstate.h"

#include <QJsonObject>
#include <QList>
#include <QStringList>
#include <optional>

// What a run leaves in the data folder and the settings file, read here
// without the program's readers.

// The lines of HistoryPending.jsonl as JSON objects.
QList<QJsonObject> pendingLines(const QString &dataFolder);
// The user names of the vouchers it holds as unconfirmed.
QStringList unconfirmedNames(const QString &dataFolder);
// The user names of the rows it holds waiting for the history database.
QStringList waitingNames(const QString &dataFolder);
// "1-3,7" as the serials 1, 2, 3, 7.
QList<quint32> serialsOfRanges(const QString &text);
// The stored "VoucherSerial", or nothing when it was never written.
std::optional<quint32> storedSerial(const QString &settingsFile);
QStringList hotSpotUserNames(const routersim::RouterState &router);
