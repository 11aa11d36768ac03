#include "routereditcommand.h"

#include "clioptions.h"
#include "exitcodes.h"
#include "listfilelock.h"
#include "namechoices.h"
#include "passwordinput.h"

#include "base/operatorinteraction.h"
#include "config/routersfile.h"
#include "config/routervalidation.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "session/startup.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

void tell(const QString &line)
{
    QTextStream(stderr) << "wifiticketer-cli: " << line << '\n';
}

// The options given, over the router (a new one has the router dialog's
// defaults); the password is not among them.
void applyOptions(RouterConfig &router, const CliOptions &options)
{
    router.Name = options.itemName;
    for (const auto &[given, field] :
         {std::pair{&options.address, &router.Address}, std::pair{&options.port, &router.Port},
          std::pair{&options.apiUser, &router.ApiUser},
          std::pair{&options.userManagerAdmin, &router.UserManagerAdmin}}) {
        if (*given)
            *field = **given;
    }
    for (const auto &[given, field] :
         {std::pair{&options.hotSpotProfiles, &router.EnableHotSpotProfiles},
          std::pair{&options.userManagerProfiles, &router.EnableUserManagerProfiles},
          std::pair{&options.macBinding, &router.MacBinding}}) {
        if (*given)
            *field = **given;
    }
}

bool refuse(const RouterConfig &router, OperatorInteraction &interaction)
{
    const std::optional<RouterProblem> problem = routerProblem(router);
    if (problem)
        interaction.showMessage(problem->message, MessageIcon::Warning);
    return problem.has_value();
}

} // namespace

int runRouterEditCommand(SessionFacade &session, const CliOptions &options, OperatorInteraction &interaction)
{
    // Routers are configured in the setup, which only some program users may open.
    if (!session.checkProgramUser(options.operatorName, options.operatorPassword, true))
        return ExitFailed;
    const AppState &state = session.state();
    const QString &folder = state.paths.dataFolder;
    ListFileLock lock(folder, u"Routers.bin"_s);
    if (!lock.lock())
        return ExitFailed;
    // Read again under the lock: the list may have changed since start-up.
    QList<RouterConfig> routers;
    switch (loadRouters(folder, routers)) {
    case ListFileState::Damaged:
        // Saving what could be read would lose the rest.
        interaction.showMessage(damagedListText(ListFile::Routers, folder), MessageIcon::Error);
        return ExitFailed;
    case ListFileState::Absent:
        // A new installation's router, which the setup window would keep too.
        routers = state.routers;
        break;
    case ListFileState::Whole:
        break;
    }

    QStringList names;
    for (const RouterConfig &router : std::as_const(routers))
        names.append(router.Name);
    const auto entry = entryForAction(options.action, options.itemName, names,
                                      {u"a router"_s, u"router"_s, u"routers"_s, u"router"_s});
    if (const QString *problem = std::get_if<QString>(&entry)) {
        tell(*problem);
        return ExitUsage;
    }
    const auto found = routers.begin() + qMax<qsizetype>(std::get<qsizetype>(entry), 0);

    if (options.action == u"remove") {
        routers.erase(found);
    } else {
        RouterConfig edited = options.action == u"add" ? RouterConfig() : *found;
        applyOptions(edited, options);
        // Wrong options are told before a password is asked for.
        if (refuse(edited, interaction))
            return ExitUsage;
        if (options.passwordStdin) {
            const std::optional<QString> password = readPasswordLine();
            if (!password) {
                tell(u"--password-stdin found no line on standard input; pipe the password in, such as "
                     "printf 'secret\\n' | wifiticketer-cli router %1 '%2' --password-stdin"_s.arg(
                         options.action, options.itemName));
                return ExitUsage;
            }
            edited.ApiPassword = *password;
        } else if (options.action == u"add") {
            const std::optional<QString> password = askPasswordOnTerminal(
                QCoreApplication::translate("Cli", "Senha API de %1: ").arg(options.itemName));
            if (password)
                edited.ApiPassword = *password;
        }
        if (refuse(edited, interaction))
            return ExitUsage;
        if (options.action == u"add")
            routers.append(edited);
        else
            *found = edited;
    }
    return saveRouters(folder, routers, interaction) ? ExitDone : ExitFailed;
}
