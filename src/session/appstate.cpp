#include "appstate.h"

#include "base/paths.h"

using namespace Qt::StringLiterals;

StoragePaths defaultStoragePaths()
{
    return {defaultSettingsFile(), defaultDataFolder()};
}

AppState::AppState(StoragePaths storagePaths)
    : paths(std::move(storagePaths)), settingsKey(paths.settingsFile)
{
}

const RouterConfig *AppState::currentRouter() const
{
    return currentRouterIndex >= 0 && currentRouterIndex < routers.size() ? &routers[currentRouterIndex]
                                                                          : nullptr;
}

PriceFormat priceFormat(const AppState &state)
{
    return {state.settings.UseCurrency, state.separators};
}

HistoryPlace historyPlace(const AppState &state)
{
    return {state.settings.HistoryDatabase, state.paths.dataFolder};
}

QString currentUserName(const AppState &state)
{
    return state.currentUser >= 0 && state.currentUser < state.users.size()
               ? state.users[state.currentUser].Name
               : QString();
}

void setPosMode(AppState &state, bool posMode)
{
    if (state.currentUser < 0 || state.currentUser >= state.users.size())
        return;
    state.users[state.currentUser].PosMode = posMode;
    saveValue(state.settingsKey, u"UsersData"_s, binaryValue(serializeUsers(state.users)));
}
