#pragma once

#include "apitransport.h"

#include <QTcpSocket>
#include <memory>

// The API session over TCP, used blocking on the calling thread.
class TcpTransport : public ApiTransport
{
public:
    // Takes a connected socket.
    TcpTransport(std::unique_ptr<QTcpSocket> socket, int timeoutMs);
    ~TcpTransport() override;

    qsizetype receive(char *data, qsizetype maxSize) override;
    void send(QByteArrayView bytes) override;
    qsizetype pendingBytes() override;
    void close() override;

private:
    std::unique_ptr<QTcpSocket> m_socket;
    int m_timeoutMs;
    bool m_ended = false;
};
