#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class CMikrotikAPIDlg;
class OperatorInteraction;
class QWidget;
class SessionFacade;
struct AppState;
struct UiResources;

// The application's windows: exactly one main window at a time (the login
// window or a working window). A switch makes the new window before the old
// one goes, so the program never runs without one; the main window going
// without a successor ends the program.
class CMikrotikAPIApp : public QObject
{
    Q_OBJECT

public:
    // Makes a working window, parented to nothing; the app owns it.
    using WorkingWindowFactory = std::function<QWidget *(CMikrotikAPIApp &app)>;

    CMikrotikAPIApp(AppState &state, SessionFacade &session, OperatorInteraction &interaction,
                    UiResources &resources, QObject *parent = nullptr);
    ~CMikrotikAPIApp() override;

    // The generator window, and the counter (POS) window where there is one;
    // without it a POS user works in the generator window.
    void setWorkingWindows(WorkingWindowFactory generator, WorkingWindowFactory pos = {})
    {
        m_makeGenerator = std::move(generator);
        m_makePos = std::move(pos);
    }

    // Runs the setup window modally over the login window; with
    // `resetCredentials` after the reset of the routers' API credentials.
    // Without it the login window offers no setup.
    using SetupWindow = std::function<void(QWidget *parent, bool resetCredentials)>;
    void setSetupWindow(SetupWindow setup) { m_runSetup = std::move(setup); }

    // The login window becomes the main window.
    void openLoginWindow();
    // The logged-in user's working window becomes the main window: the POS
    // window for a user who last worked in POS mode, else the generator.
    void openMainWindow();
    QWidget *mainWindow() const { return m_mainWindow; }

    // A later start asked for the program: the main window comes to the
    // front, back from the tray or from minimised.
    void bringToFront();

    // What is kept at exit is written (the sales), then `ended` asks the
    // program to end.
    void quit();

Q_SIGNALS:
    // Nothing is left to do: the program ends.
    void ended();

private:
    void switchTo(QWidget *next);
    void saveAtExit();

    AppState &m_state;
    SessionFacade &m_session;
    OperatorInteraction &m_interaction;
    UiResources &m_resources;
    WorkingWindowFactory m_makeGenerator;
    WorkingWindowFactory m_makePos;
    SetupWindow m_runSetup;
    QPointer<QWidget> m_mainWindow;
    bool m_quitting = false;
};
