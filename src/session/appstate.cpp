#include "appstate.h"

#include "config/hotspotprofilesfile.h"
#include "design/designfile.h"
#include "base/paths.h"
#include "config/routersfile.h"
#include "config/userdatabasefile.h"

using namespace Qt::StringLiterals;

StoragePaths defaultStoragePaths()
{
    return {defaultSettingsFile(), defaultDataFolder()};
}

AppState::AppState(StoragePaths storagePaths)
    : paths(std::move(storagePaths)), settingsKey(paths.settingsFile)
{
}

PriceFormat priceFormat(const AppState &state)
{
    return {state.settings.UseCurrency, state.separators};
}

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
    // The sales history itself is loaded at login.
    if (!state.paths.dataFolder.isEmpty())
        state.posHistory.setFile(posHistoryPath(state.paths.dataFolder));
}

QString currentUserName(const AppState &state)
{
    return state.currentUser >= 0 && state.currentUser < state.users.size() ? state.users[state.currentUser].Name
                                                                             : QString();
}

void setPosMode(AppState &state, bool posMode)
{
    if (state.currentUser < 0 || state.currentUser >= state.users.size())
        return;
    state.users[state.currentUser].PosMode = posMode;
    saveValue(state.settingsKey, u"UsersData"_s, binaryValue(serializeUsers(state.users)));
}
