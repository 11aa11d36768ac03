#pragma once

#include "rawclient.h"

#include "routersim/routerbehaviour.h"
#include "routersim/routerstate.h"
#include "routersim/simserverthread.h"
#include "routersim/simulatedrouter.h"

#include <QByteArrayList>
#include <QStringList>

// A simulated router served from its own thread, and a raw client for it.
class SimFixture
{
public:
    explicit SimFixture(const routersim::RouterState &state = routersim::defaultRouterState(),
                        const routersim::RouterBehaviour &behaviour = {});

    // Starts the server and, unless told not to, connects the client.
    bool start(bool connectClient = true);
    // Logs the client in with name and password in one sentence.
    bool login(const QByteArray &name = "admin", const QByteArray &password = "");
    QStringList call(const QByteArrayList &words);

    routersim::SimulatedRouter &router() { return m_router; }
    RawClient &client() { return m_client; }
    quint16 port() const { return m_server.port(); }

private:
    routersim::SimulatedRouter m_router;
    routersim::SimServerThread m_server;
    RawClient m_client;
};

routersim::HotspotUser hotspotUser(const QString &name, const QString &profile = QStringLiteral("default"),
                                   const QString &comment = {});
// The default router with one API user.
routersim::RouterState routerWithUser(const QString &name, const QString &password);
// The default router with another version text.
routersim::RouterState routerWithVersion(const QString &version);
