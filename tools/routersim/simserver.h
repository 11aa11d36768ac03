#pragma once

#include "simulatedrouter.h"

#include <QObject>
#include <QString>
#include <QTcpServer>

namespace routersim {

// Listens on 127.0.0.1 and serves every connection from the router, on the
// thread the server lives in.
class SimServer : public QObject
{
    Q_OBJECT

public:
    explicit SimServer(SimulatedRouter &router, QObject *parent = nullptr);

    // Port 0 takes any free port; port() then tells which.
    bool listen(quint16 port);
    quint16 port() const;
    QString errorString() const;

private:
    void acceptConnections();

    SimulatedRouter &m_router;
    QTcpServer m_server;
};

} // namespace routersim
