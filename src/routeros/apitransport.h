#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// The byte stream of one API session. A sentence is read within the session's
// time-out as a whole: the sentence reader starts the clock before each
// sentence, and a receive waits only for what is left of it, so a peer that
// sends its bytes one at a time holds the reader no longer than one that sends
// nothing. Once the stream has ended (closed by the peer, timed out, failed, or
// given up by the reader) it stays ended: every receive returns 0 at once, so a
// broken session costs one time-out, not one per word.
class ApiTransport
{
public:
    virtual ~ApiTransport();

    // Starts the time allowed for reading the next sentence: from now on, until
    // the next call, receives wait no longer than the session's time-out in all.
    virtual void startSentence() = 0;
    // Up to maxSize bytes, at least one; 0 when the stream has ended. Bytes
    // already received are handed out without waiting; when none are, the wait
    // ends with the sentence's time, and the stream with it.
    virtual qsizetype receive(char *data, qsizetype maxSize) = 0;
    // Sends the bytes, waiting no longer than the session's time-out for them to
    // go out; failures show up as a missing answer.
    virtual void send(QByteArrayView bytes) = 0;
    // Received bytes waiting to be read right now, without blocking.
    virtual qsizetype pendingBytes() = 0;
    // The part of those already taken in from the system: no system call.
    virtual qsizetype bufferedBytes() = 0;
    // Ends the stream.
    virtual void close() = 0;
};
