#include "memorytransport.h"

#include <algorithm>
#include <cstring>

void MemoryTransport::supply(const QByteArray &bytes)
{
    m_incoming += bytes;
}

void MemoryTransport::supplyAt(qint64 atMs, const QByteArray &bytes)
{
    // After what is due at the same time, so bytes keep the order they were given in.
    const auto at = std::upper_bound(m_timed.begin(), m_timed.end(), atMs,
                                     [](qint64 time, const Timed &timed) { return time < timed.atMs; });
    m_timed.insert(at, {atMs, bytes});
}

void MemoryTransport::answerNextSend(const QByteArray &bytes)
{
    m_answers.append(bytes);
}

QByteArray MemoryTransport::sentBytes() const
{
    QByteArray all;
    for (const QByteArray &s : m_sends)
        all += s;
    return all;
}

void MemoryTransport::release()
{
    while (!m_timed.isEmpty() && m_timed.first().atMs <= m_nowMs)
        m_incoming += m_timed.takeFirst().bytes;
}

qsizetype MemoryTransport::receive(char *data, qsizetype maxSize)
{
    if (m_closed || maxSize <= 0)
        return 0;
    release();
    if (unread() == 0 && !m_timed.isEmpty()) {
        // Waits for the next bytes, unless they come after the deadline.
        if (m_timed.first().atMs > m_deadlineMs) {
            m_nowMs = qMax(m_nowMs, m_deadlineMs);
            close();
            return 0;
        }
        m_nowMs = m_timed.first().atMs;
        release();
    }
    const qsizetype count = qMin(qMin(maxSize, m_maxChunk), unread());
    if (count == 0) {
        close();
        return 0;
    }
    std::memcpy(data, m_incoming.constData() + m_readPos, size_t(count));
    m_readPos += count;
    return count;
}

void MemoryTransport::send(QByteArrayView bytes)
{
    if (m_closed)
        return;
    m_sends.append(bytes.toByteArray());
    if (!m_answers.isEmpty())
        m_incoming += m_answers.takeFirst();
}

qsizetype MemoryTransport::bufferedBytes()
{
    return pendingBytes();
}

qsizetype MemoryTransport::pendingBytes()
{
    if (m_closed)
        return 0;
    release();
    return unread();
}

void MemoryTransport::close()
{
    m_closed = true;
}
