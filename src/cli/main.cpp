#include "clioptions.h"
#include "exitcodes.h"
#include "generatecommand.h"
#include "historycommand.h"
#include "profilescommand.h"
#include "removecommand.h"
#include "routerscommand.h"
#include "terminalinteraction.h"
#include "uploadscriptcommand.h"

#include "app/appstate.h"

#include <QCoreApplication>
#include <QTextStream>
#include <clocale>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Prices use the separators of the user's locale.
    std::setlocale(LC_ALL, "");
    QTextStream out(stdout);
    QTextStream err(stderr);

    const auto parsed = parseCliOptions(app.arguments().mid(1));
    if (const UsageError *error = std::get_if<UsageError>(&parsed)) {
        err << "wifiticketer-cli: " << error->message << "\n\n" << cliUsage();
        return ExitUsage;
    }
    const CliOptions &options = std::get<CliOptions>(parsed);
    if (options.help) {
        out << cliUsage();
        return ExitDone;
    }

    AppState state(defaultStoragePaths());
    startUp(state);
    TerminalInteraction interaction(options.answer);

    int code = ExitUsage;
    if (options.command == u"routers")
        code = runRoutersCommand(state, out);
    else if (options.command == u"profiles")
        code = runProfilesCommand(state, options, interaction, out);
    else if (options.command == u"upload-script")
        code = runUploadScriptCommand(state, options, interaction);
    else if (options.command == u"remove")
        code = runRemoveCommand(state, options, interaction);
    else if (options.command == u"generate")
        code = runGenerateCommand(state, options, interaction, out);
    else if (options.command == u"history")
        code = runHistoryCommand(state, options, interaction, out);
    out.flush();
    // Sales are written as they happen; this retries one whose write failed.
    if (state.posHistory.unsaved())
        state.posHistory.save();
    return code;
}
