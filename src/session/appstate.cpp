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

namespace {

// Changes a flag of the logged-in program user and writes "UsersData".
void storeUserFlag(AppState &state, bool AppUser::*flag, bool on)
{
    if (state.currentUser < 0 || state.currentUser >= state.users.size())
        return;
    state.users[state.currentUser].*flag = on;
    saveValue(state.settingsKey, u"UsersData"_s, binaryValue(serializeUsers(state.users)));
}

} // namespace

void setPosMode(AppState &state, bool posMode)
{
    storeUserFlag(state, &AppUser::PosMode, posMode);
}

void setFullScreen(AppState &state, bool fullScreen)
{
    storeUserFlag(state, &AppUser::FullScreen, fullScreen);
}
