#include "testmain.h"
#include "wire.h"

#include "routeros/memorytransport.h"
#include "routeros/pipeline.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QList<QByteArrayList> wordsOf(const ApiReply &reply)
{
    QList<QByteArrayList> sentences;
    for (const ApiSentence &sentence : reply.sentences)
        sentences << sentence.words;
    return sentences;
}

} // namespace

class PipelineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandsCarryTheirTags();
    void repliesFoundByTag();
    void untaggedRouter();
    void unmatchedReplyEndsTheStream_data();
    void unmatchedReplyEndsTheStream();
};

// Queued commands leave together, each with its own ".tag=" word.
void PipelineTest::commandsCarryTheirTags()
{
    MemoryTransport transport;
    ApiPipeline pipeline(transport);
    QCOMPARE(pipeline.send({u"/ip/hotspot/user/add"_s, u"=name=a"_s}), 1u);
    QCOMPARE(pipeline.send({u"/ip/hotspot/user/print"_s, u"?name=a"_s}), 2u);
    QVERIFY(transport.sends().isEmpty());
    pipeline.flush();
    QCOMPARE(transport.sends(), QList<QByteArray>{wire({"/ip/hotspot/user/add", "=name=a", ".tag=1"}) +
                                                  wire({"/ip/hotspot/user/print", "?name=a", ".tag=2"})});
    QCOMPARE(pipeline.inFlight(), 2);
}

// Replies that interleave come back whole, each to its tag; a trap ends its
// reply and the "!done" after it is dropped, as the one-command reader does.
void PipelineTest::repliesFoundByTag()
{
    MemoryTransport transport;
    ApiPipeline pipeline(transport);
    pipeline.send({u"/ip/hotspot/user/print"_s});
    pipeline.send({u"/ip/hotspot/user/add"_s, u"=name=a"_s});
    pipeline.send({u"/ip/hotspot/user/add"_s, u"=name=b"_s});
    transport.supply(wire({"!re", "=.id=*1", ".tag=1"}) +
                     wire({"!trap", ".tag=3", "=message=failure: already have user with this name"}) +
                     wire({"!done", "=ret=*9", ".tag=2"}) + wire({"!re", ".tag=1", "=.id=*2"}) +
                     wire({"!done", ".tag=3"}) + wire({"!done", ".tag=1"}));

    std::optional<TaggedReply> reply = pipeline.next();
    QVERIFY(reply);
    QCOMPARE(reply->tag, 2u);
    QCOMPARE(wordsOf(reply->reply), (QList<QByteArrayList>{{"!done", "=ret=*9"}}));
    reply = pipeline.next();
    QVERIFY(reply);
    QCOMPARE(reply->tag, 3u);
    QCOMPARE(wordsOf(reply->reply),
             (QList<QByteArrayList>{{"!trap", "=message=failure: already have user with this name"}}));
    QCOMPARE(reply->reply.sentences.last().kind, ReplyKind::Trap);
    reply = pipeline.next();
    QVERIFY(reply);
    QCOMPARE(reply->tag, 1u);
    QCOMPARE(wordsOf(reply->reply),
             (QList<QByteArrayList>{{"!re", "=.id=*1"}, {"!re", "=.id=*2"}, {"!done"}}));
    QCOMPARE(pipeline.inFlight(), 0);
    QVERIFY(pipeline.tagsEchoed());
    QVERIFY(!transport.isClosed());
}

// A router that does not echo tags is understood with one command in flight.
void PipelineTest::untaggedRouter()
{
    MemoryTransport transport;
    ApiPipeline pipeline(transport);
    pipeline.send({u"/ip/hotspot/user/add"_s, u"=name=a"_s});
    transport.supply(wire({"!done", "=ret=*1"}));
    const std::optional<TaggedReply> reply = pipeline.next();
    QVERIFY(reply);
    QCOMPARE(reply->tag, 1u);
    QCOMPARE(wordsOf(reply->reply), (QList<QByteArrayList>{{"!done", "=ret=*1"}}));
    QVERIFY(!pipeline.tagsEchoed());
    QVERIFY(!transport.isClosed());
}

void PipelineTest::unmatchedReplyEndsTheStream_data()
{
    QTest::addColumn<int>("commands");
    QTest::addColumn<QByteArray>("incoming");
    QTest::addRow("untagged with two in flight") << 2 << wire({"!done", "=ret=*1"});
    QTest::addRow("a tag never sent") << 1 << wire({"!done", ".tag=7"});
    QTest::addRow("a tag that is no number") << 1 << wire({"!done", ".tag=x"});
    QTest::addRow("the stream ends") << 1 << wire({"!re", "=.id=*1", ".tag=1"});
    QTest::addRow("fatal, then nothing") << 2 << wire({"!fatal", "=message=session terminated", ".tag=2"});
}

// A reply that fits no command in flight cannot be trusted to belong to any:
// the stream is given up and the commands in flight stay unanswered.
void PipelineTest::unmatchedReplyEndsTheStream()
{
    QFETCH(int, commands);
    QFETCH(QByteArray, incoming);
    MemoryTransport transport;
    ApiPipeline pipeline(transport);
    for (int i = 0; i < commands; ++i)
        pipeline.send({u"/system/resource/print"_s});
    transport.supply(incoming);
    std::optional<TaggedReply> reply = pipeline.next();
    // A "!fatal" still answers its own command before the stream ends.
    if (reply) {
        QCOMPARE(reply->tag, 2u);
        QCOMPARE(reply->reply.sentences.last().kind, ReplyKind::Fatal);
        reply = pipeline.next();
    }
    QVERIFY(!reply);
    QVERIFY(pipeline.ended());
    QVERIFY(transport.isClosed());
    QVERIFY(pipeline.inFlight() >= 1);
}

WIFITICKETER_TEST(PipelineTest)
#include "pipelinetest.moc"
