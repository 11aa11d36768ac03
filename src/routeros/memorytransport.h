#pragma once

#include "apitransport.h"

#include <QByteArray>
#include <QList>

// A session stream held in memory: the bytes a peer sends, released as the
// conversation goes on, and a record of everything sent. Replays recorded or
// made-up router dialogues in tests and fuzzing. The stream ends when the
// reader wants more than has been released; nothing here waits, so a
// sentence's time never runs out.
class MemoryTransport : public ApiTransport
{
public:
    // Bytes the peer has sent already.
    void supply(const QByteArray &bytes);
    // Bytes the peer sends in answer to the next send not yet answered; one
    // entry per send, in order.
    void answerNextSend(const QByteArray &bytes);
    // Receives hand out at most this many bytes each, as a network may.
    void setMaxChunk(qsizetype bytes) { m_maxChunk = bytes; }

    const QList<QByteArray> &sends() const { return m_sends; }
    QByteArray sentBytes() const;
    bool isClosed() const { return m_closed; }
    // Released bytes not read yet.
    qsizetype unread() const { return m_incoming.size() - m_readPos; }

    void startSentence() override {}
    qsizetype receive(char *data, qsizetype maxSize) override;
    void send(QByteArrayView bytes) override;
    qsizetype pendingBytes() override;
    qsizetype bufferedBytes() override;
    void close() override;

private:
    QByteArray m_incoming;
    qsizetype m_readPos = 0;
    QList<QByteArray> m_answers;
    QList<QByteArray> m_sends;
    qsizetype m_maxChunk = 1 << 20;
    bool m_closed = false;
};
