#include "clilogin.h"

#include "clioptions.h"
#include "exitcodes.h"
#include "namechoices.h"
#include "passwordinput.h"

#include "session/appstate.h"
#include "session/sessionfacade.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

std::optional<int> logInAsOperator(SessionFacade &session, const CliOptions &options)
{
    QTextStream err(stderr);
    const QList<RouterConfig> &routers = session.state().routers;
    if (routers.isEmpty()) {
        err << "wifiticketer-cli: no router is configured\n";
        return ExitFailed;
    }
    qsizetype index = 0;
    if (options.router) {
        const auto named = std::find_if(routers.begin(), routers.end(),
                                        [&](const RouterConfig &r) { return r.Name == *options.router; });
        if (named == routers.end()) {
            QStringList names;
            for (const RouterConfig &router : routers)
                names.append(router.Name);
            err << u"wifiticketer-cli: no router is named '%1'"_s.arg(*options.router)
                << nameChoices(u"routers"_s, names) << '\n';
            return ExitUsage;
        }
        index = named - routers.begin();
    }
    session.selectRouter(index);
    if (!session.checkProgramUser(options.operatorName, options.operatorPassword, false))
        return ExitFailed;
    return std::nullopt;
}

std::optional<int> takeOperatorPassword(CliOptions &options)
{
    QTextStream err(stderr);
    if (options.operatorPasswordStdin) {
        const std::optional<QString> password = readPasswordLine();
        if (!password) {
            err << "wifiticketer-cli: --operator-password-stdin found no line on standard input; pipe the "
                   "password in, such as printf 'secret\\n' | wifiticketer-cli --operator NAME "
                   "--operator-password-stdin "
                << options.command << '\n';
            return ExitUsage;
        }
        options.operatorPassword = *password;
    } else if (options.operatorPasswordGiven) {
        err << "wifiticketer-cli: warning: --operator-password can be read by every user of this machine "
               "(in the process list); give it with --operator-password-stdin or in "
               "WIFITICKETER_OPERATOR_PASSWORD\n";
    } else {
        options.operatorPassword = qEnvironmentVariable("WIFITICKETER_OPERATOR_PASSWORD");
    }
    return std::nullopt;
}
