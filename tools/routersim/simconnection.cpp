#include "simconnection.h"

#include <QTcpSocket>

namespace routersim {

SimConnection::SimConnection(QTcpSocket *socket, SimulatedRouter &router, QObject *parent)
    : QObject(parent), m_socket(socket), m_router(router), m_number(router.openConnection()), m_timer(this)
{
    m_socket->setParent(this);
    m_timer.setSingleShot(true);
    m_clock.start();
    connect(&m_timer, &QTimer::timeout, this, &SimConnection::writeDue);
    connect(m_socket, &QTcpSocket::readyRead, this, &SimConnection::readIncoming);
    connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    readIncoming();
}

void SimConnection::readIncoming()
{
    m_received += m_socket->readAll();
    // After the router has decided to close, nothing more is read.
    while (!m_closing) {
        Sentence sentence;
        const TakeResult result = takeSentence(m_received, sentence);
        if (result == TakeResult::NeedMore)
            return;
        if (result == TakeResult::Malformed) {
            m_closing = true;
            m_outbox.clear();
            m_socket->abort();
            return;
        }
        const RouterAnswer answer = m_router.receive(m_number, sentence, m_session, ++m_sentences);
        if (answer.sentences.isEmpty() && !answer.close)
            continue;
        Outgoing outgoing{{}, m_clock.elapsed() + answer.delayMs, answer.close};
        for (const Sentence &reply : answer.sentences)
            outgoing.bytes += encodeSentence(reply);
        m_outbox.append(outgoing);
        m_closing = answer.close;
        writeDue();
    }
}

void SimConnection::writeDue()
{
    while (!m_outbox.isEmpty() && m_outbox.first().dueMs <= m_clock.elapsed()) {
        const Outgoing outgoing = m_outbox.takeFirst();
        m_socket->write(outgoing.bytes);
        if (outgoing.close) {
            m_outbox.clear();
            m_socket->disconnectFromHost(); // after the written bytes have gone out
            return;
        }
    }
    if (!m_outbox.isEmpty())
        m_timer.start(int(qMax<qint64>(0, m_outbox.first().dueMs - m_clock.elapsed())));
}

} // namespace routersim
