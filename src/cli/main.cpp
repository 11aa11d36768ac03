#include "clilogin.h"
#include "clioptions.h"
#include "cliusage.h"
#include "designscommand.h"
#include "exitcodes.h"
#include "generatecommand.h"
#include "historycommand.h"
#include "hotspotprofilecommand.h"
#include "listsused.h"
#include "printtestcommand.h"
#include "profilescommand.h"
#include "removecommand.h"
#include "routereditcommand.h"
#include "routerscommand.h"
#include "terminalinteraction.h"
#include "uploadscriptcommand.h"

#include "base/diagnostics.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "session/startup.h"

#include <QGuiApplication>
#include <QTextStream>
#include <clocale>

using namespace Qt::StringLiterals;

namespace {

// Standard error carries the program's own messages, which scripts read; Qt's
// diagnostics only go there when WIFITICKETER_QT_MESSAGES is set.
// The router client's diagnostics go there too, never to standard output, which
// carries data.
void quietQtMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    static const bool shown = !qEnvironmentVariableIsEmpty("WIFITICKETER_QT_MESSAGES");
    if (isApiDiagnostic(context))
        writeApiDiagnostic(stderr, message);
    else if (shown || type == QtCriticalMsg || type == QtFatalMsg)
        QTextStream(stderr) << message << '\n';
}

} // namespace

int main(int argc, char *argv[])
{
    // Vouchers are drawn with fonts, which needs a GUI application; the command
    // line never shows a window, so it needs no display either.
    qInstallMessageHandler(quietQtMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Prices use the separators of the user's locale.
    std::setlocale(LC_ALL, "");
    QTextStream out(stdout);
    QTextStream err(stderr);

    const auto parsed = parseCliOptions(app.arguments().mid(1));
    if (const UsageError *error = std::get_if<UsageError>(&parsed)) {
        // One line: what is wrong and where to read what to do.
        err << usageErrorLine(*error) << '\n';
        return ExitUsage;
    }
    CliOptions options = std::get<CliOptions>(parsed);
    if (options.help) {
        out << (options.command.isEmpty() ? cliUsage() : commandUsage(options.command));
        return ExitDone;
    }
    if (const std::optional<int> code = takeOperatorPassword(options))
        return *code;

    AppState state(defaultStoragePaths());
    startUp(state);
    TerminalInteraction interaction(options.answer);
    // Every command works with the program users and the routers (listing
    // them, or logging in to one); none goes on with defaults in place of what
    // the operator has on disk.
    if (state.settingsUnreadable) {
        interaction.showMessage(settingsUnreadableText(state.paths.settingsFile), MessageIcon::Error);
        return ExitFailed;
    }
    if (state.routersUnreadable) {
        interaction.showMessage(routersUnreadableText(state.paths.dataFolder), MessageIcon::Error);
        return ExitFailed;
    }
    // A damaged list is worked with as far as it could be read; the operator
    // is told, and nothing saves over it.
    const QString damaged = damagedListsText(state, listsUsedBy(options.command));
    if (!damaged.isEmpty())
        interaction.showMessage(damaged, MessageIcon::Warning);
    SessionFacade session(state, interaction);

    int code = ExitUsage;
    if (options.command == u"routers")
        code = runRoutersCommand(state, out);
    else if (options.command == u"designs")
        code = runDesignsCommand(state, out);
    else if (options.command == u"profiles")
        code = runProfilesCommand(session, options, out);
    else if (options.command == u"upload-script")
        code = runUploadScriptCommand(session, options);
    else if (options.command == u"remove")
        code = runRemoveCommand(session, options, interaction);
    else if (options.command == u"generate")
        code = runGenerateCommand(session, options, interaction, out);
    else if (options.command == u"history")
        code = runHistoryCommand(session, options, interaction, out);
    else if (options.command == u"print-test")
        code = runPrintTestCommand(session, options, interaction);
    else if (options.command == u"router")
        code = runRouterEditCommand(session, options, interaction);
    else if (options.command == u"hotspot-profile")
        code = runHotSpotProfileCommand(session, options, interaction);
    out.flush();
    // Sales are written as they happen; this retries a write that failed.
    session.updateSalesFile();
    return code;
}
