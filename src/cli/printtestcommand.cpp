#include "printtestcommand.h"

#include "clilogin.h"
#include "clioptions.h"
#include "exitcodes.h"
#include "voucheroutput.h"

#include "session/appstate.h"

int runPrintTestCommand(AppState &state, const CliOptions &options, OperatorInteraction &interaction)
{
    if (std::optional<int> failed = logInAsOperator(state, options, interaction))
        return *failed;
    const std::optional<const VoucherDesign *> design = chosenDesign(state, options, nullptr);
    if (!design)
        return ExitUsage;
    return outputVouchers(**design, {}, true, options, interaction) ? ExitDone : ExitFailed;
}
