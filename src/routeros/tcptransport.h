#pragma once

#include "apitransport.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <memory>

// The API session over TCP, used blocking on the calling thread.
class TcpTransport : public ApiTransport
{
public:
    // Takes a connected socket. Until a reader sets a deadline, the time-out
    // runs from here.
    TcpTransport(std::unique_ptr<QTcpSocket> socket, const ApiTimeLimits &limits);
    ~TcpTransport() override;

    ApiTimeLimits limits() const override { return m_limits; }
    qint64 clockMs() override { return m_clock.elapsed(); }
    void setReceiveDeadline(qint64 atMs) override { m_receiveDeadlineMs = atMs; }
    qsizetype receive(char *data, qsizetype maxSize) override;
    void send(QByteArrayView bytes) override;
    qsizetype pendingBytes() override;
    qsizetype bufferedBytes() override;
    void close() override;

private:
    std::unique_ptr<QTcpSocket> m_socket;
    ApiTimeLimits m_limits;
    QElapsedTimer m_clock;      // monotonic
    qint64 m_receiveDeadlineMs; // on m_clock: when waiting for bytes ends the stream
    bool m_ended = false;
};
