#include "simserverthread.h"

#include "simserver.h"

namespace routersim {

SimServerThread::SimServerThread(SimulatedRouter &router) : m_router(router) {}

SimServerThread::~SimServerThread()
{
    stop();
}

bool SimServerThread::start(quint16 port)
{
    if (m_server)
        return false;
    m_server = new SimServer(m_router);
    m_server->moveToThread(&m_thread);
    // The server and its connections are deleted on their own thread as it ends.
    QObject::connect(&m_thread, &QThread::finished, m_server, &QObject::deleteLater);
    m_thread.start();
    bool listening = false;
    QMetaObject::invokeMethod(
        m_server,
        [&] {
            listening = m_server->listen(port);
            m_port = m_server->port();
            m_error = m_server->errorString();
        },
        Qt::BlockingQueuedConnection);
    if (!listening)
        stop();
    return listening;
}

quint16 SimServerThread::port() const
{
    return m_port;
}

QString SimServerThread::errorString() const
{
    return m_error;
}

void SimServerThread::stop()
{
    if (!m_server)
        return;
    m_thread.quit();
    m_thread.wait();
    m_server = nullptr;
}

} // namespace routersim
