#pragma once

class CMikrotikAPIApp;
class FileChooser;
class OperatorInteraction;
class PrinterChooser;
class SessionFacade;
class UserDataPrompt;
struct UiResources;

// The generator and the counter window as the application's working windows,
// each asking the application for the switches its buttons stand for.
void setWorkingWindows(CMikrotikAPIApp &app, SessionFacade &session, OperatorInteraction &interaction,
                       UserDataPrompt &prompt, PrinterChooser &printers, UiResources &resources);

// The setup window, for the login window's "Configuração" and its reset.
void setSetupWindow(CMikrotikAPIApp &app, SessionFacade &session, OperatorInteraction &interaction,
                    UiResources &resources, PrinterChooser &printers, FileChooser &files);
