#include "routerlogin.h"

#include "appstate.h"
#include "journalrecovery.h"
#include "salesledger.h"

#include "base/operatorinteraction.h"
#include "design/designmapfile.h"
#include "router/routerinfo.h"

bool readCurrentRouterInformation(AppState &state, OperatorInteraction &interaction)
{
    state.profiles.clear();
    // The last run's profile belonged to the list just dropped: a design picked
    // for it would go to a profile nobody sees any more.
    state.lastRunProfile.reset();
    clearBatch(state.batch);
    const RouterConfig *router = state.currentRouter();
    if (!router)
        return true;
    return readRouterInformation(*router, state.hotSpotProfiles, priceFormat(state),
                                 state.settings.HotSpotScheduleInterval, state.routerInfo, state.profiles,
                                 interaction);
}

bool startRouterSession(AppState &state, OperatorInteraction &interaction)
{
    WaitCursor wait(interaction);
    if (!readCurrentRouterInformation(state, interaction))
        return false;
    loadDesignMap(state.paths.dataFolder, state.currentRouter(), state.profiles, state.designs);
    reportSalesFile(settleUnconfirmedVouchers(state), state.paths.dataFolder, interaction);
    state.posHistory.assign(currentSales(state.paths.dataFolder));
    return true;
}
