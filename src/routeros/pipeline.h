#pragma once

#include "apisentence.h"
#include "replydeadline.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <optional>

class ApiTransport;

// A reply matched to the command that asked for it.
struct TaggedReply
{
    quint32 tag = 0;
    ApiReply reply; // as readReply gives it: a trap ends it, the "!done" after it dropped
};

// Commands sent without waiting for their replies. Each carries a ".tag=N"
// word of its own, and the router answers every sentence of its reply with the
// same word, so replies that interleave or overtake each other still find
// their command. A router that sends its replies without the tag can be used
// with one command in flight at a time: its untagged reply belongs to that one.
class ApiPipeline
{
public:
    explicit ApiPipeline(ApiTransport &transport);

    // Queues the command with a new tag and returns the tag. Queued commands
    // go out together, before next() waits for bytes (or on flush()).
    quint32 send(const QStringList &words);
    void flush();

    // Reads until one command's reply is complete, sending what is queued
    // whenever it has to wait.
    // Nothing when no reply can come any more: the stream ended, a reply
    // outlasted its ceiling, or an untagged or unknown reply cannot be
    // matched to one command. The commands still in flight then have no
    // answer, and the stream is closed.
    // Each sentence has the time-out; each reply the ceiling from its first
    // sentence, since commands sent together are answered one after another.
    std::optional<TaggedReply> next();

    // Whether received bytes wait to be read, so next() would not block.
    bool replyWaiting();
    // Commands sent whose reply is not complete yet.
    qsizetype inFlight() const { return m_open.size(); }
    // Whether the router has echoed a tag; false until a tagged reply came,
    // and for good once an untagged one did.
    bool tagsEchoed() const { return m_tagsEchoed; }
    bool ended() const { return m_ended; }

private:
    struct OpenReply
    {
        ApiReply reply;
        bool trapped = false;   // a trap came: the "!done" that follows ends the reply and is dropped
        qsizetype size = 0;     // bytes received for it, against the reply cap
        ReplyDeadline deadline; // set by its first sentence
    };

    std::optional<TaggedReply> fail();
    // The earliest deadline of the replies under way.
    ReplyDeadline firstDeadline() const;

    ApiTransport &m_transport;
    QByteArray m_queued;
    QHash<quint32, OpenReply> m_open;
    quint32 m_nextTag = 1;
    bool m_tagsEchoed = false;
    bool m_untagged = false;
    bool m_ended = false;
};
