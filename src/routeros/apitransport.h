#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// The byte stream of one API session. Receiving blocks for at most the
// session's time-out. Once the stream has ended (closed by the peer, timed out,
// failed, or given up by the reader) it stays ended: every receive returns 0 at
// once, so a broken session costs one time-out, not one per word.
class ApiTransport
{
public:
    virtual ~ApiTransport();

    // Up to maxSize bytes, at least one; 0 when the stream has ended.
    virtual qsizetype receive(char *data, qsizetype maxSize) = 0;
    // Sends the bytes; failures show up as a missing answer.
    virtual void send(QByteArrayView bytes) = 0;
    // Received bytes waiting to be read right now, without blocking.
    virtual qsizetype pendingBytes() = 0;
    // Ends the stream.
    virtual void close() = 0;
};
