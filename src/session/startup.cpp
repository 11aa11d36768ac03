#include "startup.h"

#include "appstate.h"

#include "config/hotspotprofilesfile.h"
#include "config/routersfile.h"
#include "config/userdatabasefile.h"
#include "design/designfile.h"

void startUp(AppState &state)
{
    state.separators = localeSeparators();
    loadSettings(state.settingsKey, state.settings, state.users);
    loadRouters(state.paths.dataFolder, state.routers);
    // Nothing is written back: the routers page saves Routers.bin when confirmed.
    if (state.routers.isEmpty())
        state.routers = legacyRouters(state.settings.Legacy);
    state.defaultDesign = makeDefaultDesign();
    loadDesigns(state.paths.dataFolder, state.defaultDesign, state.designs);
    loadHotSpotProfiles(state.paths.dataFolder, state.hotSpotProfiles);
    loadUserDatabase(state.paths.dataFolder, state.userNames);
    if (!state.paths.dataFolder.isEmpty())
        state.posHistory.setFile(posHistoryPath(state.paths.dataFolder));
}
