#include "simfixture.h"

SimFixture::SimFixture(const routersim::RouterState &state, const routersim::RouterBehaviour &behaviour)
    : m_router(state, behaviour), m_server(m_router)
{
}

bool SimFixture::start(bool connectClient)
{
    return m_server.start(0) && (!connectClient || m_client.connectTo(m_server.port()));
}

bool SimFixture::login(const QByteArray &name, const QByteArray &password)
{
    return call({"/login", "=name=" + name, "=password=" + password}) == QStringList{QStringLiteral("!done")};
}

QStringList SimFixture::call(const QByteArrayList &words)
{
    return m_client.call(words);
}

routersim::RouterState routerWithUser(const QString &name, const QString &password)
{
    routersim::RouterState state = routersim::defaultRouterState();
    state.apiUsers = {{{}, name, password}};
    return state;
}

routersim::RouterState routerWithVersion(const QString &version)
{
    routersim::RouterState state = routersim::defaultRouterState();
    state.version = version;
    return state;
}

routersim::HotspotUser hotspotUser(const QString &name, const QString &profile, const QString &comment)
{
    routersim::HotspotUser user;
    user.name = name;
    user.profile = profile;
    user.comment = comment;
    return user;
}
