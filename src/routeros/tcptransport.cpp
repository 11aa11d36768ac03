#include "tcptransport.h"

ApiTransport::~ApiTransport() = default;

TcpTransport::TcpTransport(std::unique_ptr<QTcpSocket> socket, int timeoutMs)
    : m_socket(std::move(socket)), m_timeoutMs(timeoutMs), m_sentenceDeadline(timeoutMs)
{
}

TcpTransport::~TcpTransport()
{
    close();
}

void TcpTransport::startSentence()
{
    m_sentenceDeadline.setRemainingTime(m_timeoutMs);
}

qsizetype TcpTransport::receive(char *data, qsizetype maxSize)
{
    if (m_ended || maxSize <= 0)
        return 0;
    if (m_socket->bytesAvailable() == 0) {
        // Each wait gets only what is left of the sentence's time, so bytes
        // trickling in, each within the time-out, cannot stretch the sentence.
        if (m_sentenceDeadline.hasExpired() ||
            !m_socket->waitForReadyRead(int(m_sentenceDeadline.remainingTime()))) {
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
    const QDeadlineTimer deadline(m_timeoutMs);
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
