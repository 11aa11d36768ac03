#pragma once

#include "config/hotspotprofile.h"
#include "config/routerconfig.h"

#include <QString>

// Records of the program's configuration as tests, fuzz targets and benchmarks
// set them up.

// A hotspot profile whose users get the router profile "default".
HotSpotProfile defaultHotSpot(const QString &name, qint64 validity, qint32 price = 0);

// A router on this machine (127.0.0.1) at the port, logged in to as the user.
RouterConfig loopbackRouter(const QString &name, quint16 port,
                            const QString &apiUser = QStringLiteral("admin"),
                            const QString &apiPassword = {});
