#include "workingwindows.h"

#include "cmikrotikapiapp.h"

#include "ui/generator/cgeneratordialog.h"
#include "ui/pos/cposmodewindow.h"
#include "ui/setup/csetuptabdialog.h"

void setWorkingWindows(CMikrotikAPIApp &app, SessionFacade &session, OperatorInteraction &interaction,
                       UserDataPrompt &prompt, PrinterChooser &printers, UiResources &resources)
{
    // Switches are queued: the window asking is still inside its own handler.
    app.setWorkingWindows(
        [&](CMikrotikAPIApp &app) {
            auto *generator = new CGeneratorDialog(session, interaction, prompt, printers, resources);
            QObject::connect(generator, &CGeneratorDialog::logoutRequested, &app,
                             &CMikrotikAPIApp::openLoginWindow, Qt::QueuedConnection);
            QObject::connect(generator, &CGeneratorDialog::posModeRequested, &app,
                             &CMikrotikAPIApp::openMainWindow, Qt::QueuedConnection);
            QObject::connect(generator, &CGeneratorDialog::quitRequested, &app, &CMikrotikAPIApp::quit,
                             Qt::QueuedConnection);
            return generator;
        },
        [&](CMikrotikAPIApp &app) {
            auto *pos = new CPosModeWindow(session, interaction, prompt, printers, resources);
            QObject::connect(pos, &CPosModeWindow::logoutRequested, &app, &CMikrotikAPIApp::openLoginWindow,
                             Qt::QueuedConnection);
            QObject::connect(pos, &CPosModeWindow::normalModeRequested, &app,
                             &CMikrotikAPIApp::openMainWindow, Qt::QueuedConnection);
            QObject::connect(pos, &CPosModeWindow::quitRequested, &app, &CMikrotikAPIApp::quit,
                             Qt::QueuedConnection);
            return pos;
        });
}

void setSetupWindow(CMikrotikAPIApp &app, SessionFacade &session, OperatorInteraction &interaction,
                    UiResources &resources, PrinterChooser &printers, FileChooser &files)
{
    app.setSetupWindow([&](QWidget *parent, bool resetCredentials) {
        runSetup(session, interaction, resources, {printers, files}, resetCredentials, parent);
    });
}
