#include "tcptransport.h"

#include <QDeadlineTimer>

ApiTransport::~ApiTransport() = default;

TcpTransport::TcpTransport(std::unique_ptr<QTcpSocket> socket, const ApiTimeLimits &limits)
    : m_socket(std::move(socket)), m_limits(limits), m_receiveDeadlineMs(limits.timeoutMs)
{
    m_clock.start();
}

TcpTransport::~TcpTransport()
{
    close();
}

qsizetype TcpTransport::receive(char *data, qsizetype maxSize)
{
    if (m_ended || maxSize <= 0)
        return 0;
    if (m_socket->bytesAvailable() == 0) {
        // Each wait gets only what is left of the reader's time, so bytes
        // trickling in, each within the time-out, cannot stretch a sentence.
        const qint64 left = m_receiveDeadlineMs - m_clock.elapsed();
        if (left <= 0 || !m_socket->waitForReadyRead(int(left))) {
            close();
            return 0;
        }
    }
    const qint64 got = m_socket->read(data, maxSize);
    if (got <= 0) {
        close();
        return 0;
    }
    return qsizetype(got);
}

void TcpTransport::send(QByteArrayView bytes)
{
    if (m_ended)
        return;
    m_socket->write(bytes.data(), bytes.size());
    const QDeadlineTimer deadline(m_limits.timeoutMs);
    while (m_socket->bytesToWrite() > 0) {
        if (deadline.hasExpired() || !m_socket->waitForBytesWritten(int(deadline.remainingTime())))
            return;
    }
}

qsizetype TcpTransport::pendingBytes()
{
    if (m_ended)
        return 0;
    // Takes in what the system has received so far, without waiting.
    m_socket->waitForReadyRead(0);
    return qsizetype(m_socket->bytesAvailable());
}

qsizetype TcpTransport::bufferedBytes()
{
    return m_ended ? 0 : qsizetype(m_socket->bytesAvailable());
}

void TcpTransport::close()
{
    if (m_ended)
        return;
    m_ended = true;
    // Everything sent has been written already, so the socket closes at once.
    m_socket->disconnectFromHost();
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        m_socket->abort();
}
