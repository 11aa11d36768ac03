#include "startup.h"

#include "appstate.h"

#include "config/hotspotprofilesfile.h"
#include "config/routersfile.h"
#include "config/userdatabasefile.h"
#include "design/designfile.h"

#include <QCoreApplication>
#include <QDir>

void startUp(AppState &state)
{
    state.separators = localeSeparators();
    loadSettings(state.settingsKey, state.settings, state.users);
    state.settingsUnreadable = state.settingsKey.isUnreadable();
    // A damaged Routers.bin may be the only copy of the operator's routers:
    // seeding would let the next save replace it.
    state.routersUnreadable =
        loadRouters(state.paths.dataFolder, state.routers) == RoutersFileState::Unreadable;
    // Nothing is written back: the routers page saves Routers.bin when confirmed.
    if (state.routers.isEmpty() && !state.routersUnreadable)
        state.routers = legacyRouters(state.settings.Legacy);
    state.defaultDesign = makeDefaultDesign();
    loadDesigns(state.paths.dataFolder, state.defaultDesign, state.designs);
    loadHotSpotProfiles(state.paths.dataFolder, state.hotSpotProfiles);
    loadUserDatabase(state.paths.dataFolder, state.userNames);
}

QString settingsUnreadableText(const QString &settingsFile)
{
    return QCoreApplication::translate(
               "Startup", "Não foi possível ler as configurações do programa.\nO arquivo %1 foi mantido "
                          "como está; corrija-o ou remova-o para começar com as configurações iniciais.")
        .arg(QDir::toNativeSeparators(settingsFile));
}

QString routersUnreadableText(const QString &dataFolder)
{
    return QCoreApplication::translate(
               "Startup", "Não foi possível ler a lista de roteadores.\nO arquivo %1 foi mantido "
                          "como está.")
        .arg(QDir::toNativeSeparators(dataFolder + QStringLiteral("/Routers.bin")));
}
