#include "memorytransport.h"

#include <cstring>

void MemoryTransport::supply(const QByteArray &bytes)
{
    m_incoming += bytes;
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

qsizetype MemoryTransport::receive(char *data, qsizetype maxSize)
{
    if (m_closed || maxSize <= 0)
        return 0;
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
    return m_closed ? 0 : unread();
}

void MemoryTransport::close()
{
    m_closed = true;
}
