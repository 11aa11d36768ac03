#include "hotspotprofilecommand.h"

#include "clioptions.h"
#include "exitcodes.h"
#include "listfilelock.h"
#include "namechoices.h"

#include "base/operatorinteraction.h"
#include "config/hotspotprofilesfile.h"
#include "config/hotspotprofilevalidation.h"
#include "generation/duration.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "session/startup.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

void tell(const QString &line)
{
    QTextStream(stderr) << "wifiticketer-cli: " << line << '\n';
}

HotSpotProfileInput inputOf(const CliOptions &options)
{
    HotSpotProfileInput input;
    input.name = options.itemName;
    input.price = options.price;
    input.server = options.server;
    input.routerProfile = options.routerProfile;
    if (options.validity)
        input.validity = TypedDuration{readTypedDuration(*options.validity)};
    if (options.uptime)
        input.limitUptime = TypedDuration{readTypedDuration(*options.uptime)};
    input.limitBytesIn = options.limitIn;
    input.limitBytesOut = options.limitOut;
    input.limitBytesTotal = options.limitTotal;
    return input;
}

} // namespace

int runHotSpotProfileCommand(SessionFacade &session, const CliOptions &options,
                             OperatorInteraction &interaction)
{
    // Profiles are configured in the setup, which only some program users may open.
    if (!session.checkProgramUser(options.operatorName, options.operatorPassword, true))
        return ExitFailed;
    const AppState &state = session.state();
    const QString &folder = state.paths.dataFolder;
    ListFileLock lock(folder, u"HotSpotProfiles.bin"_s);
    if (!lock.lock())
        return ExitFailed;
    // Read again under the lock: the list may have changed since start-up.
    QList<HotSpotProfile> profiles;
    switch (loadHotSpotProfiles(folder, profiles)) {
    case ListFileState::Damaged:
        // Saving what could be read would lose the rest.
        interaction.showMessage(damagedListText(ListFile::HotSpotProfiles, folder), MessageIcon::Error);
        return ExitFailed;
    case ListFileState::Absent:
        profiles = state.hotSpotProfiles;
        break;
    case ListFileState::Whole:
        break;
    }

    QStringList names;
    for (const HotSpotProfile &profile : std::as_const(profiles))
        names.append(profile.Name);
    const auto entry =
        entryForAction(options.action, options.itemName, names,
                       {u"a profile"_s, u"hotspot profile"_s, u"profiles"_s, u"hotspot-profile"_s});
    if (const QString *problem = std::get_if<QString>(&entry)) {
        tell(*problem);
        return ExitUsage;
    }
    const auto found = profiles.begin() + qMax<qsizetype>(std::get<qsizetype>(entry), 0);

    if (options.action == u"remove") {
        profiles.erase(found);
    } else {
        HotSpotProfile edited = options.action == u"add" ? HotSpotProfile() : *found;
        if (const std::optional<HotSpotProfileProblem> problem =
                applyHotSpotProfileInput(edited, inputOf(options))) {
            interaction.showMessage(problem->message, MessageIcon::Warning);
            return ExitUsage;
        }
        if (options.action == u"add")
            profiles.append(edited);
        else
            *found = edited;
    }
    return saveHotSpotProfiles(folder, profiles, interaction) ? ExitDone : ExitFailed;
}
