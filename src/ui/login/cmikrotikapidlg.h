#pragma once

#include "ui/framework/cdesignwnd.h"

class CSymbolEdit;
class OperatorInteraction;
class SessionFacade;
struct UiResources;

// The login window: the operator picks a router, types a program user's name
// and password, and logs in (the working window opens) or opens the setup.
class CMikrotikAPIDlg : public CDesignWnd
{
    Q_OBJECT

public:
    // Item and menu command ids.
    enum : int
    {
        CloseItem = 166,
        SetupItem = 221,
        LoginItem = 223,
        RouterSelectorItem = 234,
        UserFrameItem = 226,
        PasswordFrameItem = 224,
        MenuItem = 230,
        AboutCommand = 16,
        ResetCommand = 32,
    };

    // Logs the program user out. `setupAvailable`: whether someone answers
    // setupRequested with the setup window (the application does); without it
    // "Configuração" and the reset of the authentication data are shown
    // switched off. With it, a new installation (no settings yet) asks for
    // the setup as soon as the window is shown.
    CMikrotikAPIDlg(SessionFacade &session, OperatorInteraction &interaction, UiResources &resources,
                    bool setupAvailable = false, QWidget *parent = nullptr);

    // The router list changed (after the setup): lists it again and selects
    // the first router.
    void rebuildRouterMenu();
    // The index of the router the login will use, or -1.
    qsizetype selectedRouter() const { return m_selectedRouter; }

    CSymbolEdit *userEdit() const { return m_userEdit; }
    CSymbolEdit *passwordEdit() const { return m_passwordEdit; }

    // Logs in with what is typed: the program user, then the router's session
    // under the wait cursor. True when the working window may open.
    bool logIn();

Q_SIGNALS:
    // The program user is logged in and the router's session started.
    void loggedIn();
    // The operator asks for the setup (after the credential check); with
    // `resetCredentials` the routers' API credentials are to be emptied.
    void setupRequested(bool resetCredentials);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onItemCommand(int id, const QVariant &choice);
    void selectRouter(qsizetype index);
    void openSetup();
    void resetAuthentication();
    void showAbout();
    CSymbolEdit *makeEdit(const QString &cue, const QRect &place);

    SessionFacade &m_session;
    OperatorInteraction &m_interaction;
    UiResources &m_resources;
    bool m_setupAvailable;
    CSymbolEdit *m_userEdit = nullptr;
    CSymbolEdit *m_passwordEdit = nullptr;
    SkinImage m_userFrame[2]; // plain, glowing
    SkinImage m_passwordFrame[2];
    qsizetype m_selectedRouter = -1;
};
