#pragma once

#include "fixedclock.h"
#include "scriptedinteraction.h"
#include "scriptedprompt.h"
#include "testfolder.h"

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

    routersim::SimulatedRouter &router() { return m_router; }
    // Every sentence the program sent, words as UTF-8 text, in order.
    QList<QStringList> sent() const;
    // The sentences sent since the login ("/login" ones left out), without "/quit".
    QList<QStringList> commands() const;

    TestFolder folder;
    AppState state;
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
