#include "clilogin.h"

#include "clioptions.h"
#include "exitcodes.h"
#include "namechoices.h"

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
