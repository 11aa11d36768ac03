#include "replydeadline.h"

#include "apitransport.h"

ReplyDeadline replyDeadlineFromNow(ApiTransport &transport)
{
    return {transport.clockMs() + transport.limits().ceilingMs};
}

ReplyDeadline earlier(const ReplyDeadline &a, const ReplyDeadline &b)
{
    return a.atMs <= b.atMs ? a : b;
}

void startSentence(ApiTransport &transport, const ReplyDeadline &reply)
{
    const qint64 now = transport.clockMs();
    if (now >= reply.atMs) {
        transport.close();
        return;
    }
    transport.setReceiveDeadline(qMin(now + transport.limits().timeoutMs, reply.atMs));
}
