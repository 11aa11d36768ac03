#include "pipeline.h"

#include "apitransport.h"
#include "codec.h"

namespace {

constexpr QByteArrayView TagPrefix = ".tag=";

// The ".tag=" word of a reply sentence.
struct SentenceTag
{
    bool present = false;
    std::optional<quint32> value; // none when the word holds no tag of ours
};

// Takes the ".tag=" word out of the sentence.
SentenceTag takeTag(ApiSentence &sentence)
{
    for (qsizetype i = 1; i < sentence.words.size(); ++i) {
        const QByteArray &word = sentence.words[i];
        if (!word.startsWith(TagPrefix))
            continue;
        bool ok = false;
        const quint32 tag = word.sliced(TagPrefix.size()).toUInt(&ok);
        sentence.words.removeAt(i);
        return {true, ok ? std::optional(tag) : std::nullopt};
    }
    return {};
}

qsizetype sizeOf(const ApiSentence &sentence)
{
    qsizetype size = 0;
    for (const QByteArray &word : sentence.words)
        size += word.size() + 32;
    return size;
}

} // namespace

ApiPipeline::ApiPipeline(ApiTransport &transport) : m_transport(transport) {}

quint32 ApiPipeline::send(const QStringList &words)
{
    const quint32 tag = m_nextTag++;
    ApiSentence sentence;
    for (const QString &word : words)
        addWord(sentence, word);
    addWord(sentence, TagPrefix.toByteArray() + QByteArray::number(tag));
    // A command that cannot be put on the wire is never answered: it stays
    // open and the wait for it ends with the stream.
    if (const std::optional<QByteArray> bytes = encodeSentence(sentence))
        m_queued += *bytes;
    m_open.insert(tag, {});
    return tag;
}

void ApiPipeline::flush()
{
    if (m_queued.isEmpty())
        return;
    m_transport.send(m_queued);
    m_queued.clear();
}

bool ApiPipeline::replyWaiting()
{
    return !m_ended && m_transport.pendingBytes() > 0;
}

std::optional<TaggedReply> ApiPipeline::next()
{
    while (!m_ended && !m_open.isEmpty()) {
        // What is queued goes out before the wait for more bytes; while
        // replies are at hand it gathers, and leaves in fewer packets.
        if (m_transport.bufferedBytes() == 0)
            flush();
        ApiSentence sentence = readSingleSentence(m_transport, firstDeadline());
        if (sentence.words.isEmpty())
            return fail();
        const SentenceTag echoed = takeTag(sentence);
        std::optional<quint32> tag = echoed.value;
        if (echoed.present) {
            if (m_untagged || !tag)
                return fail();
            m_tagsEchoed = true;
        } else {
            // Only a router that never echoes tags is understood untagged, and
            // only while one command is in flight.
            if (m_tagsEchoed || m_open.size() != 1)
                return fail();
            m_untagged = true;
            tag = m_open.begin().key();
        }
        const auto open = m_open.find(*tag);
        if (open == m_open.end())
            return fail();
        OpenReply &reply = open.value();
        if (reply.reply.sentences.isEmpty())
            reply.deadline = replyDeadlineFromNow(m_transport);
        reply.size += sizeOf(sentence);
        if (reply.size > MaxReplySize)
            return fail();
        const ReplyKind kind = sentence.kind;
        if (kind == ReplyKind::Done && reply.trapped) {
            // The reply ends with its trap, as the one-command reader gives it.
        } else {
            reply.reply.sentences.append(std::move(sentence));
        }
        if (kind == ReplyKind::Trap) {
            reply.trapped = true;
            continue;
        }
        if (kind == ReplyKind::Done || kind == ReplyKind::Fatal) {
            TaggedReply done{*tag, std::move(reply.reply)};
            m_open.erase(open);
            // After "!fatal" the router closes the session.
            if (kind == ReplyKind::Fatal) {
                m_transport.close();
                m_ended = true;
            }
            return done;
        }
    }
    flush();
    return std::nullopt;
}

ReplyDeadline ApiPipeline::firstDeadline() const
{
    ReplyDeadline first;
    for (const OpenReply &open : m_open)
        first = earlier(first, open.deadline);
    return first;
}

std::optional<TaggedReply> ApiPipeline::fail()
{
    m_transport.close();
    m_ended = true;
    return std::nullopt;
}
