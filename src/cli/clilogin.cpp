#include "clilogin.h"

#include "clioptions.h"
#include "exitcodes.h"

#include "session/appstate.h"
#include "session/programlogin.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

std::optional<int> logInAsOperator(AppState &state, const CliOptions &options,
                                   OperatorInteraction &interaction)
{
    QTextStream err(stderr);
    if (state.routers.isEmpty()) {
        err << "wifiticketer-cli: no router is configured\n";
        return ExitFailed;
    }
    state.currentRouter = 0;
    if (options.router) {
        const auto named = std::find_if(state.routers.begin(), state.routers.end(),
                                        [&](const RouterConfig &r) { return r.Name == *options.router; });
        if (named == state.routers.end()) {
            err << u"wifiticketer-cli: no router is named '%1'\n"_s.arg(*options.router);
            return ExitUsage;
        }
        state.currentRouter = named - state.routers.begin();
    }
    if (!checkProgramUser(state, options.operatorName, options.operatorPassword, false, interaction))
        return ExitFailed;
    return std::nullopt;
}
