#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// How long a router may take to answer. Every sentence has the time-out to
// arrive in full from when the reader begins to wait for it: bytes trickling
// in do not restart it, only a whole sentence does. The whole reply of one
// command has the ceiling, however steadily its sentences come, so no router
// keeps the program waiting for ever; it is long enough for the longest reply
// a router gives at the pace of a slow link.
struct ApiTimeLimits
{
    int timeoutMs = 30000;
    int ceilingMs = 300000;
};

// The byte stream of one API session. The readers (codec.h) tell it how long
// the next bytes may take; a receive that has to wait waits no longer. Once
// the stream has ended (closed by the peer, timed out, failed, or given up by
// the reader) it stays ended: every receive returns 0 at once, so a broken
// session costs one time-out, not one per word.
class ApiTransport
{
public:
    virtual ~ApiTransport();

    virtual ApiTimeLimits limits() const = 0;
    // Milliseconds on the stream's own clock, from a start of its own.
    virtual qint64 clockMs() = 0;
    // From now on, until the next call, receives wait for bytes until that
    // time on clockMs() at the latest; a receive that finds no bytes once it
    // has passed ends the stream.
    virtual void setReceiveDeadline(qint64 atMs) = 0;
    // Up to maxSize bytes, at least one; 0 when the stream has ended. Bytes
    // already received are handed out without waiting.
    virtual qsizetype receive(char *data, qsizetype maxSize) = 0;
    // Sends the bytes, waiting no longer than the time-out for them to go out;
    // failures show up as a missing answer.
    virtual void send(QByteArrayView bytes) = 0;
    // Received bytes waiting to be read right now, without blocking.
    virtual qsizetype pendingBytes() = 0;
    // The part of those already taken in from the system: no system call.
    virtual qsizetype bufferedBytes() = 0;
    // Ends the stream.
    virtual void close() = 0;
};
