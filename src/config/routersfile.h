#pragma once

#include "routerconfig.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>

class OperatorInteraction;

// Routers.bin: one 1420-byte record of type 1 per router, in list order.

// Appends every valid router record of the stream.
void readRouters(QIODevice &device, QList<RouterConfig> &routers);
QByteArray serializeRouters(const QList<RouterConfig> &routers);

// Appends the routers of the data folder's Routers.bin; a missing or unreadable
// file leaves the list as it is.
void loadRouters(const QString &dataFolder, QList<RouterConfig> &routers);
// Replaces Routers.bin (owner-only: it holds the API passwords). On failure the
// operator is told and the old file stays.
bool saveRouters(const QString &dataFolder, const QList<RouterConfig> &routers,
                 OperatorInteraction &interaction);
