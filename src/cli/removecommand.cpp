#include "removecommand.h"

#include "clilogin.h"
#include "clioptions.h"
#include "exitcodes.h"

#include "base/operatorinteraction.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"

#include <QCoreApplication>

int runRemoveCommand(SessionFacade &session, const CliOptions &options, OperatorInteraction &interaction)
{
    if (std::optional<int> failed = logInAsOperator(session, options))
        return *failed;
    const RouterConfig &router = *session.state().currentRouter();
    if (!session.removeRouterUser(router, options.user, !options.userManager))
        return ExitFailed;
    // The history shows the vouchers of that user as removed, as the history
    // page does; the user is gone from the router either way.
    if (!session.markRouterUserRemoved(options.user, router.Name))
        interaction.showMessage(QCoreApplication::translate(
                                    "Cli", "O usuário %1 foi excluído do roteador, mas o histórico não pôde "
                                           "ser atualizado.")
                                    .arg(options.user),
                                MessageIcon::Warning);
    return ExitDone;
}
