#include "rawclient.h"
#include "apisentence.h"

#include <QDeadlineTimer>
#include <QHostAddress>

namespace {

// Takes one complete sentence off the front of the bytes, if they hold one.
std::optional<QByteArrayList> takeSentence(QByteArray &bytes)
{
    QByteArrayList words;
    qsizetype pos = 0;
    for (;;) {
        if (pos >= bytes.size())
            return std::nullopt;
        const quint8 first = quint8(bytes[pos]);
        const int more = first < 0x80 ? 0 : first < 0xC0 ? 1 : first < 0xE0 ? 2 : 3;
        const quint8 mask = more == 0 ? 0xFF : more == 1 ? 0x7F : more == 2 ? 0x3F : 0x1F;
        if (pos + 1 + more > bytes.size())
            return std::nullopt;
        qint64 length = first & mask;
        for (int i = 1; i <= more; ++i)
            length = (length << 8) | quint8(bytes[pos + i]);
        pos += 1 + more;
        if (length == 0)
            break;
        if (pos + length > bytes.size())
            return std::nullopt;
        words.append(bytes.mid(pos, length));
        pos += length;
    }
    bytes.remove(0, pos);
    return words;
}

} // namespace

bool RawClient::connectTo(quint16 port)
{
    m_socket.connectToHost(QHostAddress::LocalHost, port);
    return m_socket.waitForConnected(5000);
}

void RawClient::sendSentence(const QByteArrayList &words)
{
    sendBytes(apiSentence(words));
}

void RawClient::sendBytes(const QByteArray &bytes)
{
    m_socket.write(bytes);
    m_socket.waitForBytesWritten(5000);
}

std::optional<QByteArrayList> RawClient::readSentence(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (std::optional<QByteArrayList> sentence = takeSentence(m_received))
            return sentence;
        // What arrived before the router closed the connection is still read.
        if (m_socket.bytesAvailable() == 0 && !m_socket.waitForReadyRead(int(deadline.remainingTime())))
            return std::nullopt;
        m_received += m_socket.readAll();
    }
}

QStringList RawClient::readAnswer(int timeoutMs)
{
    QStringList answer;
    for (;;) {
        const std::optional<QByteArrayList> sentence = readSentence(timeoutMs);
        if (!sentence) {
            answer.append(QStringLiteral("<no answer>"));
            return answer;
        }
        answer.append(QString::fromUtf8(sentence->join(' ')));
        // A "!trap" is followed by its "!done".
        const QByteArray kind = sentence->value(0);
        if (kind == "!fatal" || kind == "!done")
            return answer;
    }
}

QStringList RawClient::call(const QByteArrayList &words, int timeoutMs)
{
    sendSentence(words);
    return readAnswer(timeoutMs);
}

bool RawClient::waitForClosed(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (m_socket.state() == QAbstractSocket::ConnectedState && !deadline.hasExpired()) {
        if (m_socket.waitForReadyRead(int(deadline.remainingTime())))
            m_received += m_socket.readAll();
    }
    return m_socket.state() != QAbstractSocket::ConnectedState;
}
