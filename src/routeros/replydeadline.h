#pragma once

#include <QtGlobal>
#include <limits>

class ApiTransport;

// When the reply of one command must be complete, on the transport's clock.
// The ceiling (apitransport.h) runs from the reply's start: for a command
// alone, when the reading of its reply begins; in a pipeline, where a command
// may wait its turn behind many others, when its first sentence arrived.
struct ReplyDeadline
{
    qint64 atMs = std::numeric_limits<qint64>::max(); // the default: no reply has started
};

// The ceiling from now.
ReplyDeadline replyDeadlineFromNow(ApiTransport &transport);

// The earlier of the two.
ReplyDeadline earlier(const ReplyDeadline &a, const ReplyDeadline &b);

// Starts the wait for the next sentence: the time-out from now, cut short by
// the reply's deadline. A reply past its deadline ends the stream here, also
// when its next sentence is already at hand, so a router that floods a reply
// without end is given up as surely as one that trickles.
void startSentence(ApiTransport &transport, const ReplyDeadline &reply);
