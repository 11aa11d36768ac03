#include "codec.h"

#include "apitransport.h"
#include "replydeadline.h"

#include "base/diagnostics.h"

namespace {

constexpr qsizetype DrainChunk = 1000;
constexpr qsizetype ReceiveChunk = 1024;
// What a word and a sentence cost in memory beyond their bytes, charged to the
// reply cap so that a flood of tiny words cannot grow a reply without bound.
constexpr qsizetype WordOverhead = 32;
constexpr qsizetype SentenceOverhead = 64;

// The sentence reader's view of one stream: how much of the reply cap is
// left. A reply that outgrows it is given up like a closed stream.
struct ReplyBudget
{
    qsizetype left = MaxReplySize;
};

quint8 receiveByte(ApiTransport &transport, bool &ok)
{
    char byte = 0;
    ok = transport.receive(&byte, 1) == 1;
    return quint8(byte);
}

qint64 readLengthOrEnd(ApiTransport &transport, bool &ended)
{
    bool ok = false;
    const quint8 first = receiveByte(transport, ok);
    ended = !ok;
    if (!ok)
        return 0;
    int more = 0;
    qint64 length = first;
    if ((first & 0xE0) == 0xE0) {
        length = first & 0x1F;
        more = 3;
    } else if ((first & 0xC0) == 0xC0) {
        length = first & 0x3F;
        more = 2;
    } else if (first & 0x80) {
        length = first & 0x7F;
        more = 1;
    }
    for (int i = 0; i < more; ++i) {
        const quint8 next = receiveByte(transport, ok);
        if (!ok) {
            ended = true;
            return 0;
        }
        length = (length << 8) | next;
    }
    return length;
}

// A word, or nothing at the end of a sentence; `ended` tells when the stream
// ended instead (the word, if any, is then dropped).
std::optional<QByteArray> readWordOrEnd(ApiTransport &transport, ReplyBudget &budget, bool &ended)
{
    const qint64 length = readLengthOrEnd(transport, ended);
    if (ended || length <= 0)
        return std::nullopt;
    if (length > MaxWordSize || length + WordOverhead > budget.left) {
        transport.close();
        ended = true;
        return std::nullopt;
    }
    budget.left -= length + WordOverhead;
    // The word grows as bytes arrive; the announced length is never allocated
    // up front.
    QByteArray word;
    char chunk[ReceiveChunk];
    qint64 remaining = length;
    while (remaining > 0) {
        const qsizetype got = transport.receive(chunk, qsizetype(qMin<qint64>(remaining, ReceiveChunk)));
        if (got <= 0) {
            ended = true;
            return std::nullopt;
        }
        word.append(chunk, got);
        remaining -= got;
    }
    return word;
}

ApiSentence readOneSentence(ApiTransport &transport, const ReplyDeadline &deadline, ReplyBudget &budget,
                            bool &ended)
{
    ApiSentence sentence;
    ended = false;
    // Every sentence, the "!done" after a trap included, has the time-out to
    // arrive in full, within what is left of the reply's time.
    startSentence(transport, deadline);
    budget.left -= qMin(budget.left, SentenceOverhead);
    while (std::optional<QByteArray> word = readWordOrEnd(transport, budget, ended)) {
        if (sentence.words.isEmpty())
            sentence.kind = replyKindOf(*word);
        sentence.words.append(*word);
    }
    if (ended)
        clear(sentence);
    return sentence;
}

ApiSentence readSentenceWithin(ApiTransport &transport, const ReplyDeadline &deadline, ReplyBudget &budget)
{
    bool ended = false;
    ApiSentence sentence = readOneSentence(transport, deadline, budget, ended);
    if (!ended && (sentence.kind == ReplyKind::Trap || sentence.kind == ReplyKind::Fatal))
        readOneSentence(transport, deadline, budget, ended);
    return sentence;
}

} // namespace

std::optional<QByteArray> encodeLength(qint64 length)
{
    if (length < 0 || length > MaxEncodableLength)
        return std::nullopt;
    int bytes = 4;
    quint8 form = 0xE0;
    if (length < 0x80) {
        bytes = 1;
        form = 0;
    } else if (length < 0x4000) {
        bytes = 2;
        form = 0x80;
    } else if (length < 0x200000) {
        bytes = 3;
        form = 0xC0;
    }
    QByteArray prefix(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        prefix[i] = char((length >> (8 * (bytes - 1 - i))) & 0xFF);
    prefix[0] = char(quint8(prefix[0]) | form);
    return prefix;
}

void writeLength(ApiTransport &transport, qint64 length)
{
    const std::optional<QByteArray> prefix = encodeLength(length);
    if (!prefix) {
        qCInfo(apiDiagnostics, "length of word is %lld", static_cast<long long>(length));
        qCInfo(apiDiagnostics, "word is too long.");
        return;
    }
    transport.send(*prefix);
}

void writeSentence(ApiTransport &transport, const ApiSentence &sentence)
{
    if (sentence.words.isEmpty())
        return;
    for (const QByteArray &word : sentence.words) {
        if (word.size() > MaxEncodableLength) {
            writeLength(transport, word.size()); // only the diagnostics
            return;
        }
    }

    // Whatever an earlier reply left in the stream is thrown away, once.
    char scratch[DrainChunk];
    for (qsizetype waiting = transport.pendingBytes(); waiting > 0; waiting -= qMin(waiting, DrainChunk))
        transport.receive(scratch, qMin(waiting, DrainChunk));

    transport.send(*encodeSentence(sentence));
}

std::optional<QByteArray> encodeSentence(const ApiSentence &sentence)
{
    if (sentence.words.isEmpty())
        return std::nullopt;
    QByteArray bytes;
    for (const QByteArray &word : sentence.words) {
        const std::optional<QByteArray> prefix = encodeLength(word.size());
        if (!prefix)
            return std::nullopt;
        bytes += *prefix + word;
    }
    bytes += '\0';
    return bytes;
}

void writeCommand(ApiTransport &transport, const QByteArray &command)
{
    transport.send(*encodeLength(command.size()) + command + '\0');
}

qint64 readLength(ApiTransport &transport)
{
    startSentence(transport, replyDeadlineFromNow(transport));
    bool ended = false;
    return readLengthOrEnd(transport, ended);
}

std::optional<QByteArray> readWord(ApiTransport &transport)
{
    startSentence(transport, replyDeadlineFromNow(transport));
    ReplyBudget budget;
    bool ended = false;
    return readWordOrEnd(transport, budget, ended);
}

ApiSentence readSingleSentence(ApiTransport &transport, const ReplyDeadline &deadline)
{
    ReplyBudget budget;
    bool ended = false;
    return readOneSentence(transport, deadline, budget, ended);
}

ApiSentence readSentence(ApiTransport &transport)
{
    ReplyBudget budget;
    return readSentenceWithin(transport, replyDeadlineFromNow(transport), budget);
}

ApiReply readReply(ApiTransport &transport)
{
    ApiReply reply;
    ReplyBudget budget;
    const ReplyDeadline deadline = replyDeadlineFromNow(transport);
    for (;;) {
        ApiSentence sentence = readSentenceWithin(transport, deadline, budget);
        if (sentence.words.isEmpty())
            break;
        const ReplyKind kind = sentence.kind;
        reply.sentences.append(std::move(sentence));
        if (kind != ReplyKind::Other)
            break;
    }
    return reply;
}
