#include "printtestcommand.h"

#include "clilogin.h"
#include "clioptions.h"
#include "exitcodes.h"
#include "voucheroutput.h"

#include "session/appstate.h"
#include "session/sessionfacade.h"

int runPrintTestCommand(SessionFacade &session, const CliOptions &options, OperatorInteraction &interaction)
{
    if (std::optional<int> failed = logInAsOperator(session, options))
        return *failed;
    const std::optional<const VoucherDesign *> design = chosenDesign(session.state(), options, nullptr);
    if (!design)
        return ExitUsage;
    return outputVouchers(**design, {}, true, options, interaction) ? ExitDone : ExitFailed;
}
