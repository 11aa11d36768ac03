#pragma once

#include "apitransport.h"

#include <QDeadlineTimer>
#include <QTcpSocket>
#include <memory>

// The API session over TCP, used blocking on the calling thread.
class TcpTransport : public ApiTransport
{
public:
    // Takes a connected socket. Until the first sentence is started, the
    // time-out runs from here.
    TcpTransport(std::unique_ptr<QTcpSocket> socket, int timeoutMs);
    ~TcpTransport() override;

    void startSentence() override;
    qsizetype receive(char *data, qsizetype maxSize) override;
    void send(QByteArrayView bytes) override;
    qsizetype pendingBytes() override;
    qsizetype bufferedBytes() override;
    void close() override;

private:
    std::unique_ptr<QTcpSocket> m_socket;
    int m_timeoutMs;
    QDeadlineTimer m_sentenceDeadline; // when the sentence being read has had its time
    bool m_ended = false;
};
