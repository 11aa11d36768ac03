#pragma once

#include "fixedclock.h"
#include "scriptedinteraction.h"
#include "scriptedprompt.h"
#include "testfolder.h"

#include "generation/voucherjournal.h"
#include "history/historyrow.h"
#include "router/vouchercontext.h"
#include "routeros/session.h"
#include "session/appstate.h"

#include "routersim/routerstate.h"
#include "routersim/simserverthread.h"
#include "routersim/simulatedrouter.h"

#include <memory>

// A simulated router served from its own thread, and the program's state with
// that router as the current one, a fixed clock, a scripted operator and a
// scripted user-data prompt.
class RouterHarness
{
public:
    explicit RouterHarness(const routersim::RouterState &router = routersim::defaultRouterState(),
                           const routersim::RouterBehaviour &behaviour = {});

    // Starts the router; false when it could not listen.
    bool start();
    // Opens the program's session on the current router (as a generation run does).
    bool openSession();
    void closeSession();
    // What the voucher-creation functions get in a run: the open session, the
    // current router and its information, the state's settings and batch, the
    // harness's clock, operator and prompt, and the logged-in program user.
    VoucherContext voucherContext();

    routersim::SimulatedRouter &router() { return m_router; }
    // Every sentence the program sent, words as UTF-8 text, in order.
    QList<QStringList> sent() const;
    // The sentences sent since the login ("/login" ones left out), without "/quit".
    QList<QStringList> commands() const;
    // The history rows of the clock's day, as the state's history holds them;
    // a row "<unreachable>" when the history cannot be opened.
    QList<HistoryRow> historyOfToday() const;

    TestFolder folder;
    AppState state;
    ApiConnection connection; // the session openSession() opens
    // The journal the voucher-creation functions get: serials from the state's
    // settings, nothing written down.
    SerialOnlyJournal journal{state.settings};
    FixedClock clock;
    ScriptedInteraction interaction;
    ScriptedPrompt prompt;

private:
    routersim::SimulatedRouter m_router;
    routersim::SimServerThread m_server;
};

// A User Manager profile as the router lists it.
std::shared_ptr<VoucherProfile> userManagerProfile(const QString &name,
                                                   const QString &validity = QStringLiteral("1d"));
// A hotspot profile of the router profile "default".
std::shared_ptr<VoucherProfile> hotSpotProfile(const HotSpotProfile &hotSpot);

// A router whose address refuses connections (a port nobody listens on).
RouterConfig unreachableRouter(const QString &name);
