#include "removecommand.h"

#include "clilogin.h"
#include "clioptions.h"
#include "exitcodes.h"

#include "session/appstate.h"
#include "router/hotspotusers.h"

int runRemoveCommand(AppState &state, const CliOptions &options, OperatorInteraction &interaction)
{
    if (std::optional<int> failed = logInAsOperator(state, options, interaction))
        return *failed;
    return removeRouterUser(state, state.routers[state.currentRouter], options.user, !options.userManager,
                            interaction)
               ? ExitDone
               : ExitFailed;
}
