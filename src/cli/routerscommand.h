#pragma once

#include "config/routerconfig.h"

#include <QString>

struct AppState;
class QTextStream;

// One router as the routers command lists it, tab-separated:
// Name, Address, Port, ApiUser, HS=0|1, UM=0|1, MAC=0|1, UserManagerAdmin.
QString routerLine(const RouterConfig &router);

// Lists the configured routers in list order; exit code 0.
int runRoutersCommand(const AppState &state, QTextStream &out);
