// A router's answers from any bytes: the reply reader and the login end in an
// empty or partial answer, never a crash, a hang or a large allocation, and
// what they keep is well formed.

#include "fuzzcheck.h"

#include "routeros/codec.h"
#include "routeros/memorytransport.h"
#include "routeros/session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    // The first byte chooses how the network cuts the stream into receives.
    const qsizetype chunk = size > 0 ? 1 + (uchar(input[0]) % 64) * 17 : 1;

    MemoryTransport replies;
    replies.setMaxChunk(chunk);
    replies.supply(input);
    qsizetype total = 0;
    for (int i = 0; i < 64 && !replies.isClosed(); ++i) {
        const ApiReply reply = readReply(replies);
        for (qsizetype s = 0; s < reply.sentences.size(); ++s) {
            const ApiSentence &sentence = reply.sentences[s];
            require(!sentence.words.isEmpty(), "a reply holds no empty sentence");
            require(s + 1 == reply.sentences.size() || sentence.kind == ReplyKind::Other,
                    "only the last sentence of a reply ends it");
            for (const QByteArray &word : sentence.words) {
                require(!word.isEmpty() && word.size() <= MaxWordSize, "words are within the cap");
                total += word.size();
            }
        }
        if (reply.sentences.isEmpty())
            break;
    }
    require(total <= input.size(), "nothing is read that did not arrive");

    // The same bytes as a router's answers to a login.
    MemoryTransport router;
    router.setMaxChunk(chunk);
    const qsizetype half = input.size() / 2;
    router.answerNextSend(input.first(half));
    router.answerNextSend(input.sliced(half));
    login(router, "admin", "secret");
    require(router.sends().size() <= 2, "a login sends at most two sentences");
    return 0;
}
