#pragma once

#include "apitransport.h"

#include <QByteArray>
#include <QList>
#include <limits>

// A session stream held in memory: the bytes a peer sends, released as the
// conversation goes on or at set times, and a record of everything sent.
// Replays recorded or made-up router dialogues in tests and fuzzing. Its
// clock starts at 0 and moves only while a receive waits for bytes released
// at a later time, so timed dialogues run at once and exactly. The stream
// ends when the reader wants more than will ever be released, or when the
// next bytes come after the reader's deadline (the clock then stands at it).
class MemoryTransport : public ApiTransport
{
public:
    // Bytes the peer has sent already.
    void supply(const QByteArray &bytes);
    // Bytes the peer sends at that time on the clock.
    void supplyAt(qint64 atMs, const QByteArray &bytes);
    // Bytes the peer sends in answer to the next send not yet answered; one
    // entry per send, in order.
    void answerNextSend(const QByteArray &bytes);
    // Receives hand out at most this many bytes each, as a network may.
    void setMaxChunk(qsizetype bytes) { m_maxChunk = bytes; }
    void setLimits(const ApiTimeLimits &limits) { m_limits = limits; }

    const QList<QByteArray> &sends() const { return m_sends; }
    QByteArray sentBytes() const;
    bool isClosed() const { return m_closed; }
    // Released bytes not read yet.
    qsizetype unread() const { return m_incoming.size() - m_readPos; }

    ApiTimeLimits limits() const override { return m_limits; }
    qint64 clockMs() override { return m_nowMs; }
    void setReceiveDeadline(qint64 atMs) override { m_deadlineMs = atMs; }
    qsizetype receive(char *data, qsizetype maxSize) override;
    void send(QByteArrayView bytes) override;
    qsizetype pendingBytes() override;
    qsizetype bufferedBytes() override;
    void close() override;

private:
    struct Timed
    {
        qint64 atMs = 0;
        QByteArray bytes;
    };

    // Releases what is due by now.
    void release();

    QByteArray m_incoming;
    qsizetype m_readPos = 0;
    QList<Timed> m_timed; // in the order of their times
    QList<QByteArray> m_answers;
    QList<QByteArray> m_sends;
    qsizetype m_maxChunk = 1 << 20;
    ApiTimeLimits m_limits;
    qint64 m_nowMs = 0;
    qint64 m_deadlineMs = std::numeric_limits<qint64>::max();
    bool m_closed = false;
};
