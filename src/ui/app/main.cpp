// wifiticketer: the program's windows.

#include "cmikrotikapiapp.h"
#include "helprequest.h"
#include "singleinstance.h"
#include "terminationwatch.h"
#include "workingwindows.h"

#include "base/diagnostics.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "session/startup.h"
#include "ui/framework/filechooser.h"
#include "ui/framework/messageboxinteraction.h"
#include "ui/framework/printdialogprinterchooser.h"
#include "ui/framework/uiresources.h"
#include "ui/userdata/dialoguserdataprompt.h"

#include <QApplication>
#include <QTextStream>
#include <clocale>

namespace {

// The router client's diagnostics go to standard output, as they always have;
// everything else Qt says goes to standard error.
void writeMessages(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (isApiDiagnostic(context))
        writeApiDiagnostic(stdout, message);
    else
        QTextStream(stderr) << message << '\n';
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(writeMessages);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("wifiTicketer"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Prices use the separators of the user's locale.
    std::setlocale(LC_ALL, "");

    AppState state(defaultStoragePaths());
    SingleInstance instance(state.paths.settingsFile);
    if (!instance.start())
        return 0;

    startUp(state);
    UiResources resources;
    loadUiResources(resources);
    QApplication::setWindowIcon(resources.appIcon);
    MessageBoxInteraction interaction;
    if (state.settingsUnreadable || state.routersUnreadable) {
        // Nothing is done with defaults in place of what is on disk.
        interaction.showMessage(state.settingsUnreadable ? settingsUnreadableText(state.paths.settingsFile)
                                                         : routersUnreadableText(state.paths.dataFolder),
                                MessageIcon::Error);
        return 1;
    }
    // The program works with what could be read of a damaged list; nothing
    // saves over it (see applySetup).
    if (!state.damagedLists.isEmpty())
        interaction.showMessage(damagedListsText(state), MessageIcon::Warning);
    SessionFacade session(state, interaction);

    HelpRequest help;
    app.installEventFilter(&help);
    CMikrotikAPIApp windows(state, session, interaction, resources);
    // The windows have already said goodbye: no window may refuse the end
    // (the generator's close would hide it to the tray).
    QObject::connect(
        &windows, &CMikrotikAPIApp::ended, &app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    QObject::connect(&instance, &SingleInstance::activationRequested, &windows,
                     &CMikrotikAPIApp::bringToFront);
    TerminationWatch termination;
    QObject::connect(&termination, &TerminationWatch::terminationRequested, &windows, &CMikrotikAPIApp::quit);
    // The desktop session ends: the sales are written before the program goes.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &windows,
                     [&session](QSessionManager &) { session.updateSalesFile(); });

    // The prompt and the print dialog open over the window in front.
    DialogUserDataPrompt prompt(nullptr, state.settings, state.userNames);
    PrintDialogPrinterChooser printers(nullptr);
    setWorkingWindows(windows, session, interaction, prompt, printers, resources);
    DialogFileChooser files;
    setSetupWindow(windows, session, interaction, resources, printers, files);

    windows.openLoginWindow();
    return app.exec();
}
