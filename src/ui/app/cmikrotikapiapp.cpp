#include "cmikrotikapiapp.h"

#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "ui/framework/workingwindow.h"
#include "ui/login/cmikrotikapidlg.h"

#include <QCoreApplication>
#include <QWidget>

CMikrotikAPIApp::CMikrotikAPIApp(AppState &state, SessionFacade &session, OperatorInteraction &interaction,
                                 UiResources &resources, QObject *parent)
    : QObject(parent), m_state(state), m_session(session), m_interaction(interaction), m_resources(resources)
{
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &CMikrotikAPIApp::saveAtExit);
}

CMikrotikAPIApp::~CMikrotikAPIApp()
{
    m_quitting = true;
    delete m_mainWindow;
}

void CMikrotikAPIApp::openLoginWindow()
{
    auto *login = new CMikrotikAPIDlg(m_session, m_interaction, m_resources, bool(m_runSetup));
    connect(login, &CMikrotikAPIDlg::loggedIn, this, &CMikrotikAPIApp::openMainWindow, Qt::QueuedConnection);
    connect(login, &CMikrotikAPIDlg::setupRequested, login, [this, login](bool resetCredentials) {
        m_runSetup(login, resetCredentials);
        // The routers may have changed: the menu lists them again, the first
        // one selected.
        login->rebuildRouterMenu();
        login->update();
    });
    switchTo(login);
}

void CMikrotikAPIApp::openMainWindow()
{
    const bool posMode = m_state.currentUser >= 0 && m_state.currentUser < m_state.users.size() &&
                         m_state.users[m_state.currentUser].PosMode;
    const WorkingWindowFactory &make = posMode && m_makePos ? m_makePos : m_makeGenerator;
    if (make)
        switchTo(make(*this));
}

void CMikrotikAPIApp::switchTo(QWidget *next)
{
    QWidget *old = m_mainWindow;
    m_mainWindow = next;
    // A main window that closes for good (not one hidden to the tray, whose
    // close is refused) is deleted; when no successor took its place, the
    // program ends.
    next->setAttribute(Qt::WA_DeleteOnClose);
    connect(next, &QObject::destroyed, this, [this, next] {
        // A widget tells of its end before its pointers are cleared.
        if (!m_mainWindow || m_mainWindow.data() == next)
            quit();
    });
    next->show();
    next->raise();
    next->activateWindow();
    // The old window goes after the new one is there.
    if (old) {
        old->close();
        old->deleteLater();
    }
}

void CMikrotikAPIApp::bringToFront()
{
    QWidget *window = m_mainWindow;
    if (!window)
        return;
    // A working window knows its way back from the tray.
    if (auto *working = dynamic_cast<WorkingWindow *>(window)) {
        working->restore();
        return;
    }
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

void CMikrotikAPIApp::quit()
{
    if (m_quitting)
        return;
    // A working window first keeps what it holds (and lets a run end); it
    // then asks again.
    if (auto *working = dynamic_cast<WorkingWindow *>(m_mainWindow.data());
        working && !working->isLeaving()) {
        working->endProgram();
        return;
    }
    m_quitting = true;
    saveAtExit();
    Q_EMIT ended();
}

void CMikrotikAPIApp::saveAtExit()
{
    // The sales are in the journal; PosHistory.bin is written again when a
    // write of it failed.
    m_session.updateSalesFile();
}
