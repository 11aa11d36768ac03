#include "uploadscriptcommand.h"

#include "clilogin.h"
#include "clioptions.h"
#include "exitcodes.h"

#include "session/appstate.h"
#include "session/sessionfacade.h"

int runUploadScriptCommand(SessionFacade &session, const CliOptions &options)
{
    if (std::optional<int> failed = logInAsOperator(session, options))
        return *failed;
    const AppState &state = session.state();
    const qint64 interval =
        options.intervalSeconds > 0 ? options.intervalSeconds : state.settings.HotSpotScheduleInterval;
    return session.uploadExpirationScript(*state.currentRouter(), interval) == ScriptUpload::Uploaded
               ? ExitDone
               : ExitFailed;
}
