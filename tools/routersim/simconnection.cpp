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
    // Every complete sentence of the read is answered before anything is
    // written, so the answers of commands sent together fall due together:
    // they all arrived now, even when answering them takes a millisecond.
    // After the router has decided to close, nothing more is read.
    const qint64 arrival = m_clock.elapsed();
    while (!m_closing) {
        Sentence sentence;
        const TakeResult result = takeSentence(m_received, sentence);
        if (result == TakeResult::NeedMore)
            break;
        if (result == TakeResult::Malformed) {
            m_closing = true;
            m_outbox.clear();
            m_socket->abort();
            return;
        }
        const RouterAnswer answer = m_router.receive(m_number, sentence, m_session, ++m_sentences);
        if (answer.sentences.isEmpty() && !answer.close)
            continue;
        // The answer that closes the connection stays last, or answers after
        // it would be lost.
        Outgoing outgoing{{},
                          arrival + answer.delayMs,
                          answer.close,
                          answer.trickleMs,
                          answer.reorderable && !answer.close};
        for (const Sentence &reply : answer.sentences)
            outgoing.bytes += encodeSentence(reply);
        if (answer.repeatMs > 0) {
            outgoing.repeat = encodeSentence(answer.repeat);
            outgoing.repeatMs = answer.repeatMs;
        }
        m_outbox.append(outgoing);
        m_closing = answer.close;
    }
    writeDue();
}

void SimConnection::reorderDue(qint64 now)
{
    // The reorderable answers among those newly due leave in reverse order;
    // the others keep their places.
    QList<qsizetype> places;
    for (qsizetype i = 0; i < m_outbox.size() && m_outbox[i].dueMs <= now; ++i) {
        Outgoing &outgoing = m_outbox[i];
        if (outgoing.placed)
            continue;
        outgoing.placed = true;
        if (outgoing.reorderable)
            places.append(i);
    }
    for (qsizetype low = 0, high = places.size() - 1; low < high; ++low, --high)
        m_outbox.swapItemsAt(places[low], places[high]);
}

void SimConnection::writeDue()
{
    const qint64 now = m_clock.elapsed();
    reorderDue(now);
    while (!m_outbox.isEmpty() && m_outbox.first().dueMs <= now) {
        Outgoing &next = m_outbox.first();
        if (next.trickleMs > 0) {
            // A trickling answer goes out byte by byte, each in a segment of
            // its own; the next answer starts a pause after its last byte.
            m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            m_socket->write(next.bytes.first(qMin<qsizetype>(1, next.bytes.size())));
            m_socket->flush();
            next.bytes.remove(0, 1);
            const qint64 nextByteMs = m_clock.elapsed() + next.trickleMs;
            if (!next.bytes.isEmpty()) {
                next.dueMs = nextByteMs;
                continue;
            }
            if (m_outbox.size() > 1)
                m_outbox[1].dueMs = qMax(m_outbox[1].dueMs, nextByteMs);
        }
        Outgoing outgoing = m_outbox.takeFirst();
        m_socket->write(outgoing.bytes);
        if (outgoing.close) {
            m_outbox.clear();
            m_socket->disconnectFromHost(); // after the written bytes have gone out
            return;
        }
        if (outgoing.repeatMs > 0) {
            // The reply goes on, behind the answers queued meanwhile.
            outgoing.bytes = outgoing.repeat;
            outgoing.dueMs = m_clock.elapsed() + outgoing.repeatMs;
            outgoing.reorderable = false;
            outgoing.placed = true;
            m_outbox.append(outgoing);
        }
    }
    if (!m_outbox.isEmpty())
        m_timer.start(int(qMax<qint64>(0, m_outbox.first().dueMs - m_clock.elapsed())));
}

} // namespace routersim
