#include "removecommand.h"

#include "clilogin.h"
#include "clioptions.h"
#include "exitcodes.h"

#include "session/appstate.h"
#include "session/sessionfacade.h"

int runRemoveCommand(SessionFacade &session, const CliOptions &options)
{
    if (std::optional<int> failed = logInAsOperator(session, options))
        return *failed;
    return session.removeRouterUser(*session.state().currentRouter(), options.user, !options.userManager)
               ? ExitDone
               : ExitFailed;
}
