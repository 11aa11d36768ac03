#include "simserver.h"

#include "simconnection.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace routersim {

SimServer::SimServer(SimulatedRouter &router, QObject *parent)
    : QObject(parent), m_router(router), m_server(this)
{
    connect(&m_server, &QTcpServer::newConnection, this, &SimServer::acceptConnections);
}

bool SimServer::listen(quint16 port)
{
    return m_server.listen(QHostAddress::LocalHost, port);
}

quint16 SimServer::port() const
{
    return m_server.serverPort();
}

QString SimServer::errorString() const
{
    return m_server.errorString();
}

void SimServer::acceptConnections()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection())
        new SimConnection(socket, m_router, this);
}

} // namespace routersim
