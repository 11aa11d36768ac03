#pragma once

#include "routerconfig.h"

#include "base/listfile.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>

class OperatorInteraction;

// Routers.bin: one 1420-byte record of type 1 per router, in list order.

// Appends every router record of the stream. True when it read whole (see
// readRecords): a router record of another size than 1420 bytes is damage,
// records of other types are skipped.
bool readRouters(QIODevice &device, QList<RouterConfig> &routers);
QByteArray serializeRouters(const QList<RouterConfig> &routers);

// Appends the routers of the data folder's Routers.bin, those before any
// damage included. A damaged file must be left alone: it may be the only copy
// of the operator's routers. A whole file of records of other kinds only holds
// no router and is no damage.
ListFileState loadRouters(const QString &dataFolder, QList<RouterConfig> &routers);
// Replaces Routers.bin (owner-only: it holds the API passwords). On failure the
// operator is told and the old file stays.
bool saveRouters(const QString &dataFolder, const QList<RouterConfig> &routers,
                 OperatorInteraction &interaction);
