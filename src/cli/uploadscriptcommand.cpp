#include "uploadscriptcommand.h"

#include "clilogin.h"
#include "clioptions.h"
#include "exitcodes.h"

#include "session/appstate.h"
#include "base/operatorinteraction.h"
#include "router/expirationscript.h"
#include "router/routersession.h"

int runUploadScriptCommand(AppState &state, const CliOptions &options, OperatorInteraction &interaction)
{
    if (std::optional<int> failed = logInAsOperator(state, options, interaction))
        return *failed;
    WaitCursor wait(interaction);
    if (!openSession(state.connection, state.routers[state.currentRouter], interaction))
        return ExitFailed;
    const qint64 interval =
        options.intervalSeconds > 0 ? options.intervalSeconds : state.settings.HotSpotScheduleInterval;
    const ScriptUpload result =
        uploadExpirationScript(*state.connection.transport, interval, true, interaction);
    closeSession(state.connection);
    return result == ScriptUpload::Uploaded ? ExitDone : ExitFailed;
}
