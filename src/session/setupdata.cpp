#include "setupdata.h"

#include "appstate.h"
#include "startup.h"

#include <algorithm>

#include "base/operatorinteraction.h"
#include "config/hotspotprofilesfile.h"
#include "config/routersfile.h"
#include "config/userdatabasefile.h"
#include "config/voucherserial.h"
#include "design/designfile.h"

SetupData setupData(const AppState &state)
{
    return {state.settings, state.users,           state.userNames,
            state.routers,  state.hotSpotProfiles, state.designs};
}

namespace {

// The settings the setup's pages edit; the others (AutoPrint, the history
// database, what was read from old installations) are not theirs to change.
void takeSetupSettings(AppSettings &to, const AppSettings &from)
{
    to.GenerateUserPrefix = from.GenerateUserPrefix;
    to.CreateRandomUserName = from.CreateRandomUserName;
    to.UseUserDatabase = from.UseUserDatabase;
    to.VerifyCreatedUser = from.VerifyCreatedUser;
    to.CreateRandomPassword = from.CreateRandomPassword;
    to.UseOnlyNumbers = from.UseOnlyNumbers;
    to.QueryPassword = from.QueryPassword;
    to.QueryUserData = from.QueryUserData;
    to.GenerateHotSpotUserPrefix = from.GenerateHotSpotUserPrefix;
    to.HotSpotScheduleInterval = from.HotSpotScheduleInterval;
    to.MinimizeToTray = from.MinimizeToTray;
    to.GenerateUserSize = from.GenerateUserSize;
    to.UseCurrency = from.UseCurrency;
    to.GeneratePasswordSize = from.GeneratePasswordSize;
    to.VoucherSerial = from.VoucherSerial;
}

bool sameDesigns(const DesignList &a, const DesignList &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(),
                      [](const auto &x, const auto &y) { return x == y || (x && y && *x == *y); });
}

// A list file that did not read whole at start-up is never saved over: the
// list in memory lacks what could not be read. The operator is told.
bool refusedAsDamaged(const AppState &state, ListFile file, OperatorInteraction &interaction)
{
    if (!state.damagedLists.contains(file))
        return false;
    interaction.showMessage(damagedListText(file, state.paths.dataFolder), MessageIcon::Error);
    return true;
}

qsizetype indexByName(const QList<AppUser> &users, const QString &name)
{
    for (qsizetype i = 0; i < users.size(); ++i)
        if (users[i].Name == name)
            return i;
    return -1;
}

qsizetype indexByName(const QList<RouterConfig> &routers, const QString &name)
{
    for (qsizetype i = 0; i < routers.size(); ++i)
        if (routers[i].Name == name)
            return i;
    return -1;
}

} // namespace

bool applySetup(AppState &state, const SetupData &edited, OperatorInteraction &interaction)
{
    bool written = true;
    const QString &folder = state.paths.dataFolder;
    if (edited.userNames != state.userNames) {
        if (!refusedAsDamaged(state, ListFile::UserDatabase, interaction) &&
            saveUserDatabase(folder, edited.userNames, interaction))
            state.userNames = edited.userNames;
        else
            written = false;
    }
    if (edited.hotSpotProfiles != state.hotSpotProfiles) {
        if (!refusedAsDamaged(state, ListFile::HotSpotProfiles, interaction) &&
            saveHotSpotProfiles(folder, edited.hotSpotProfiles, interaction))
            state.hotSpotProfiles = edited.hotSpotProfiles;
        else
            written = false;
    }
    const QString currentRouter = state.currentRouter() ? state.currentRouter()->Name : QString();
    const bool hadRouter = state.currentRouter() != nullptr;
    if (edited.routers != state.routers) {
        if (!refusedAsDamaged(state, ListFile::Routers, interaction) &&
            saveRouters(folder, edited.routers, interaction))
            state.routers = edited.routers;
        else
            written = false;
    }
    if (hadRouter)
        state.currentRouterIndex = indexByName(state.routers, currentRouter);

    if (!sameDesigns(edited.designs, state.designs)) {
        if (!refusedAsDamaged(state, ListFile::Designs, interaction) &&
            saveDesigns(folder, edited.designs, interaction)) {
            // Profiles point at designs; the old ones go with the old list.
            for (const std::shared_ptr<VoucherProfile> &profile : std::as_const(state.profiles))
                if (profile->Design && profile->Design != &state.defaultDesign)
                    profile->Design = findDesign(edited.designs, profile->Design->Name);
            state.designs = edited.designs;
        } else {
            written = false;
        }
    }

    AppSettings settings = state.settings;
    takeSetupSettings(settings, edited.settings);
    // A serial left as it was shown must not undo the serials another process
    // (the command line) has taken meanwhile: the key holds the next one.
    if (edited.settings.VoucherSerial == state.settings.VoucherSerial)
        settings.VoucherSerial = readVoucherSerial(state.settingsKey).value_or(settings.VoucherSerial);
    const QString currentUser = currentUserName(state);
    const bool hadUser = state.currentUser >= 0 && state.currentUser < state.users.size();
    if (saveSettings(state.settingsKey, settings, edited.users, interaction)) {
        state.settings = settings;
        state.users = edited.users;
    } else {
        written = false;
    }
    if (hadUser)
        state.currentUser = indexByName(state.users, currentUser);
    return written;
}
