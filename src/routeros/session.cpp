#include "session.h"

#include "codec.h"
#include "tcptransport.h"

#include "base/diagnostics.h"

#include <QCryptographicHash>
#include <QHostAddress>
#include <QHostInfo>
#include <QTcpSocket>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr int DefaultTimeoutMs = 30000;
// A reply of several megabytes (a print of ten thousand users) takes a few
// minutes over a link of some ten kilobytes a second; five minutes at the
// default time-out.
constexpr int CeilingPerTimeout = 10;
constexpr qsizetype ChallengeLength = 32;

// A challenge digit: a-f and A-F count 10 to 15, anything else its decimal
// value (0 for a character that is not a digit).
int challengeDigit(char c)
{
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

// The challenge of the first "/login" answer: the text between the second and
// third equals signs of its second word ("=ret=..."), when there is one.
std::optional<QByteArray> challengeOf(const ApiSentence &answer)
{
    if (answer.words.size() < 2)
        return std::nullopt;
    const QList<QByteArray> pieces = answer.words[1].split('=');
    QList<QByteArray> nonEmpty;
    for (const QByteArray &piece : pieces) {
        if (!piece.isEmpty())
            nonEmpty.append(piece);
    }
    if (nonEmpty.size() < 2)
        return std::nullopt;
    return nonEmpty[1];
}

// A reply sentence without words: the stream ended before one came in full.
bool streamEnded(const ApiSentence &answer)
{
    return answer.words.isEmpty();
}

} // namespace

int apiTimeoutMs()
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue("WIFITICKETER_API_TIMEOUT_MS", &ok);
    return ok && value > 0 ? value : DefaultTimeoutMs;
}

ApiTimeLimits apiTimeLimits()
{
    ApiTimeLimits limits;
    limits.timeoutMs = apiTimeoutMs();
    bool ok = false;
    const int ceiling = qEnvironmentVariableIntValue("WIFITICKETER_API_CEILING_MS", &ok);
    const qint64 derived = qint64(limits.timeoutMs) * CeilingPerTimeout;
    limits.ceilingMs =
        ok && ceiling > 0 ? ceiling : int(qMin<qint64>(derived, std::numeric_limits<int>::max()));
    limits.ceilingMs = qMax(limits.ceilingMs, limits.timeoutMs);
    return limits;
}

quint16 portNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    if (i < text.size() && text[i] == u'+')
        ++i;
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > 65535)
            return 0;
    }
    return quint16(value);
}

std::unique_ptr<ApiTransport> connectSocket(const QString &address, quint16 port, const ApiTimeLimits &limits)
{
    if (port == 0)
        return nullptr;
    // A host name is resolved; what does not resolve is tried as a dotted quad.
    QHostAddress target;
    const QHostInfo info = QHostInfo::fromName(address);
    for (const QHostAddress &candidate : info.addresses()) {
        if (candidate.protocol() == QAbstractSocket::IPv4Protocol) {
            target = candidate;
            break;
        }
    }
    if (target.isNull()) {
        QHostAddress quad(address);
        if (quad.protocol() == QAbstractSocket::IPv4Protocol)
            target = quad;
    }
    if (target.isNull())
        return nullptr;

    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(target, port);
    if (!socket->waitForConnected(limits.timeoutMs))
        return nullptr;
    return std::make_unique<TcpTransport>(std::move(socket), limits);
}

QByteArray challengeResponse(const QByteArray &password, const QByteArray &challenge)
{
    QByteArray bytes(16, '\0');
    for (int i = 0; i < 16; ++i)
        bytes[i] = char(challengeDigit(challenge[2 * i]) * 16 + challengeDigit(challenge[2 * i + 1]));
    QCryptographicHash md5(QCryptographicHash::Md5);
    md5.addData(QByteArray(1, '\0'));
    md5.addData(password);
    md5.addData(bytes);
    return md5.result().toHex();
}

LoginResult login(ApiTransport &transport, const QByteArray &name, const QByteArray &password)
{
    writeCommand(transport, "/login");
    const ApiSentence answer = readSentence(transport);
    if (answer.kind != ReplyKind::Done && answer.kind != ReplyKind::Trap) {
        qCInfo(apiDiagnostics, "error.");
        return streamEnded(answer) ? LoginResult::NoAnswer : LoginResult::Refused;
    }

    ApiSentence command;
    addWord(command, QByteArrayLiteral("/login"));
    addWord(command, QByteArrayLiteral("=name="));
    appendToLastWord(command, name);
    const std::optional<QByteArray> challenge =
        answer.kind == ReplyKind::Done ? challengeOf(answer) : std::nullopt;
    if (challenge) {
        // A challenge that is not 32 digits is no challenge a router gives:
        // nothing is offered to such a peer.
        if (challenge->size() != ChallengeLength) {
            qCInfo(apiDiagnostics, "error.");
            return LoginResult::Refused;
        }
        // The router proves the password with the response; the password
        // itself never goes to a router that offered a challenge.
        addWord(command, QByteArrayLiteral("=response=00"));
        appendToLastWord(command, challengeResponse(password, *challenge));
    } else {
        // Without a challenge ("!done" without one, or a "!trap" from routers
        // that want the credentials at once) the router asks for the password.
        addWord(command, QByteArrayLiteral("=password="));
        appendToLastWord(command, password);
    }
    writeSentence(transport, command);

    const ApiSentence verdict = readSentence(transport);
    if (verdict.kind == ReplyKind::Done)
        return LoginResult::LoggedIn;
    return streamEnded(verdict) ? LoginResult::NoAnswer : LoginResult::Refused;
}

void closeSession(ApiConnection &connection)
{
    if (!connection.transport)
        return;
    writeCommand(*connection.transport, "/quit");
    readSentence(*connection.transport);
    connection.transport->close();
    connection.transport.reset();
}
