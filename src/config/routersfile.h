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

// What the data folder's Routers.bin held.
enum class RoutersFileState
{
    Absent,    // no file, or an empty one
    Read,      // its routers were read; a list of other records only counts too
    Unreadable // bytes that yield no router, or a file that cannot be opened
};

// Appends the routers of the data folder's Routers.bin; a file that gives none
// leaves the list as it is. An unreadable file must be left alone: it may be the
// only copy of the operator's routers.
RoutersFileState loadRouters(const QString &dataFolder, QList<RouterConfig> &routers);
// Replaces Routers.bin (owner-only: it holds the API passwords). On failure the
// operator is told and the old file stays.
bool saveRouters(const QString &dataFolder, const QList<RouterConfig> &routers,
                 OperatorInteraction &interaction);
