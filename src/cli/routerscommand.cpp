#include "routerscommand.h"

#include "session/appstate.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

QString routerLine(const RouterConfig &router)
{
    return QStringList{router.Name,
                       router.Address,
                       router.Port,
                       router.ApiUser,
                       u"HS=%1"_s.arg(int(router.EnableHotSpotProfiles)),
                       u"UM=%1"_s.arg(int(router.EnableUserManagerProfiles)),
                       u"MAC=%1"_s.arg(int(router.MacBinding)),
                       router.UserManagerAdmin}
        .join(u'\t');
}

int runRoutersCommand(const AppState &state, QTextStream &out)
{
    for (const RouterConfig &router : state.routers)
        out << routerLine(router) << '\n';
    return 0;
}
