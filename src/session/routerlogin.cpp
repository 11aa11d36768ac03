#include "routerlogin.h"

#include "appstate.h"
#include "base/operatorinteraction.h"

#include "design/designmapfile.h"
#include "router/routerinfo.h"

bool startRouterSession(AppState &state, OperatorInteraction &interaction)
{
    WaitCursor wait(interaction);
    if (!readRouterInformation(state, interaction))
        return false;
    const RouterConfig *router = state.currentRouter >= 0 && state.currentRouter < state.routers.size()
                                     ? &state.routers[state.currentRouter]
                                     : nullptr;
    loadDesignMap(state.paths.dataFolder, router, state.profiles, state.designs);
    state.posHistory.load();
    return true;
}
