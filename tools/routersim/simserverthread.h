#pragma once

#include "simulatedrouter.h"

#include <QString>
#include <QThread>

namespace routersim {

class SimServer;

// Runs a SimServer on a thread of its own, so that a test can talk to it with
// a blocking client on its own thread.
class SimServerThread
{
public:
    explicit SimServerThread(SimulatedRouter &router);
    ~SimServerThread();

    SimServerThread(const SimServerThread &) = delete;
    SimServerThread &operator=(const SimServerThread &) = delete;

    // Returns once the server listens (port 0: any free port), or has failed.
    bool start(quint16 port = 0);
    quint16 port() const;
    QString errorString() const;
    // Closes the server and every connection, and ends the thread.
    void stop();

private:
    SimulatedRouter &m_router;
    QThread m_thread;
    SimServer *m_server = nullptr;
    quint16 m_port = 0;
    QString m_error;
};

} // namespace routersim
