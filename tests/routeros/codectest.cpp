#include "apidiagnostics.h"
#include "lengthprefixes.h"
#include "testmain.h"
#include "wire.h"

#include "routeros/codec.h"
#include "routeros/memorytransport.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QList<QByteArray> wordsOf(const ApiSentence &s)
{
    return s.words;
}

} // namespace

class CodecTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encodeLength_data();
    void encodeLength();
    void readLength_data();
    void readLength();
    void writeSentence();
    void drainsLeftovers();
    void unsendableSentence();
    void replies_data();
    void replies();
    void valueContainingMarker();
    void longWordsInChunks();
    void hostilePrefixes_data();
    void hostilePrefixes();
    void replyCap();
    void attributes();
};

void CodecTest::encodeLength_data()
{
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QByteArray>("prefix");
    for (const LengthPrefix &row : fourByteLengthPrefixes())
        QTest::addRow("%s", row.name) << row.length << row.prefix;
    QTest::addRow("0x10000000 has none") << qint64(0x10000000) << QByteArray();
    QTest::addRow("negative has none") << qint64(-1) << QByteArray();
}

void CodecTest::encodeLength()
{
    QFETCH(qint64, length);
    QFETCH(QByteArray, prefix);
    QCOMPARE(::encodeLength(length).value_or(QByteArray()), prefix);
}

void CodecTest::readLength_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("length");
    QTest::addRow("one byte") << QByteArray::fromHex("7f") << qint64(0x7F);
    QTest::addRow("two bytes") << QByteArray::fromHex("8102") << qint64(0x102);
    QTest::addRow("three bytes") << QByteArray::fromHex("c04000") << qint64(0x4000);
    QTest::addRow("four bytes") << QByteArray::fromHex("e0200000") << qint64(0x200000);
    // The five-byte form is not known: 0xF0 reads as the four-byte form.
    QTest::addRow("0xF0 as four bytes") << QByteArray::fromHex("f0000001") << qint64(0x10000001);
    QTest::addRow("stream ended") << QByteArray() << qint64(0);
    QTest::addRow("cut prefix") << QByteArray::fromHex("c040") << qint64(0);
}

void CodecTest::readLength()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, length);
    MemoryTransport t;
    t.supply(bytes);
    QCOMPARE(::readLength(t), length);
}

void CodecTest::writeSentence()
{
    MemoryTransport t;
    ApiSentence s;
    addWord(s, u"/ip/hotspot/user/add"_s);
    addWord(s, u"=name="_s);
    appendToLastWord(s, u"usrçã"_s);
    addWord(s, QByteArray(200, 'x'));
    ::writeSentence(t, s);
    QCOMPARE(t.sentBytes(), QByteArray("\x14/ip/hotspot/user/add") + char(6 + 5 + 2) +
                                "=name=usr\xc3\xa7\xc3\xa3" + QByteArray::fromHex("80c8") +
                                QByteArray(200, 'x') + '\0');

    // An empty sentence sends nothing at all, not even the terminator.
    MemoryTransport empty;
    ::writeSentence(empty, ApiSentence{});
    QVERIFY(empty.sends().isEmpty());

    // Fixed commands go out without the drain.
    MemoryTransport fixed;
    fixed.supply("left over");
    writeCommand(fixed, "/quit");
    QCOMPARE(fixed.sentBytes(), QByteArray("\x05/quit\0", 7));
    QCOMPARE(fixed.unread(), 9);
}

void CodecTest::drainsLeftovers()
{
    // What an earlier reply left unread (here more than one drain chunk) is
    // thrown away before the next command, so its answer is read cleanly.
    MemoryTransport t;
    t.supply(QByteArray(2500, 'z'));
    t.answerNextSend(wire({"!done", "=ret=*1"}));
    ApiSentence s;
    addWord(s, u"/ip/hotspot/user/add"_s);
    ::writeSentence(t, s);
    const ApiReply reply = readReply(t);
    QCOMPARE(reply.sentences.size(), 1);
    QCOMPARE(wordsOf(reply.sentences[0]), (QList<QByteArray>{"!done", "=ret=*1"}));
}

void CodecTest::unsendableSentence()
{
    // A sentence with a word that has no prefix is not sent at all, so no word
    // goes out without its length.
    MemoryTransport t;
    ApiSentence s;
    addWord(s, u"/system/script/add"_s);
    s.words.append(QByteArray());
    s.words.last().resize(MaxEncodableLength + 1);
    CapturedApiDiagnostics captured;
    ::writeSentence(t, s);
    QVERIFY(t.sends().isEmpty());
    QCOMPARE(captured.lines(), (QStringList{u"length of word is 268435456"_s, u"word is too long."_s}));
}

void CodecTest::replies_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QList<QList<QByteArray>>>("sentences");
    QTest::addColumn<QList<int>>("kinds");
    QTest::addColumn<qsizetype>("leftUnread");

    const QByteArray re1 = wire({"!re", "=.id=*1", "=name=a"});
    const QByteArray re2 = wire({"!re", "=.id=*2", "=name=b"});
    const QByteArray done = wire({"!done"});
    QTest::addRow("three data sentences and done") << re1 + re2 + re1 + done
                                                   << QList<QList<QByteArray>>{{"!re", "=.id=*1", "=name=a"},
                                                                               {"!re", "=.id=*2", "=name=b"},
                                                                               {"!re", "=.id=*1", "=name=a"},
                                                                               {"!done"}}
                                                   << QList<int>{0, 0, 0, 1} << qsizetype(0);
    QTest::addRow("trap consumes its done")
        << wire({"!trap", "=message=failure: already have user with this name"}) + done + re1
        << QList<QList<QByteArray>>{{"!trap", "=message=failure: already have user with this name"}}
        << QList<int>{2} << re1.size();
    QTest::addRow("fatal then closed")
        << wire({"!fatal", "=message=session terminated on request"})
        << QList<QList<QByteArray>>{{"!fatal", "=message=session terminated on request"}} << QList<int>{3}
        << qsizetype(0);
    QTest::addRow("closed mid-reply keeps whole sentences")
        << re1 + re2 << QList<QList<QByteArray>>{{"!re", "=.id=*1", "=name=a"}, {"!re", "=.id=*2", "=name=b"}}
        << QList<int>{0, 0} << qsizetype(0);
    QTest::addRow("closed mid-sentence drops it")
        << re1 + re2.left(9) << QList<QList<QByteArray>>{{"!re", "=.id=*1", "=name=a"}} << QList<int>{0}
        << qsizetype(0);
    QTest::addRow("closed mid-word drops it")
        << re1 + re2.left(re2.size() - 3) << QList<QList<QByteArray>>{{"!re", "=.id=*1", "=name=a"}}
        << QList<int>{0} << qsizetype(0);
    QTest::addRow("nothing") << QByteArray() << QList<QList<QByteArray>>{} << QList<int>{} << qsizetype(0);
    QTest::addRow("empty sentence ends the reply")
        << QByteArray(1, '\0') + done << QList<QList<QByteArray>>{} << QList<int>{} << done.size();
}

void CodecTest::replies()
{
    QFETCH(QByteArray, stream);
    QFETCH(QList<QList<QByteArray>>, sentences);
    QFETCH(QList<int>, kinds);
    QFETCH(qsizetype, leftUnread);
    // Also with a network that hands out a few bytes at a time.
    for (qsizetype chunk : {qsizetype(1) << 20, qsizetype(3)}) {
        MemoryTransport t;
        t.setMaxChunk(chunk);
        t.supply(stream);
        const ApiReply reply = readReply(t);
        QCOMPARE(reply.sentences.size(), sentences.size());
        for (qsizetype i = 0; i < sentences.size(); ++i) {
            QCOMPARE(wordsOf(reply.sentences[i]), sentences[i]);
            QCOMPARE(int(reply.sentences[i].kind), kinds[i]);
        }
        QCOMPARE(t.unread(), leftUnread);
    }
}

void CodecTest::valueContainingMarker()
{
    // A user's comment that contains "!done" or "!trap" is data: only the
    // first word of a sentence says what it is.
    MemoryTransport t;
    t.supply(wire({"!re", "=comment=!done", "=name=!trap"}) + wire({"!re", "=name=x"}) + wire({"!done"}));
    const ApiReply reply = readReply(t);
    QCOMPARE(reply.sentences.size(), 3);
    QCOMPARE(reply.sentences[0].kind, ReplyKind::Other);
    QCOMPARE(reply.sentences[2].kind, ReplyKind::Done);
}

void CodecTest::longWordsInChunks()
{
    QByteArray source;
    for (int i = 0; i < 5000; ++i)
        source += char('a' + i % 26);
    const QByteArray word = "=source=" + source;
    MemoryTransport t;
    t.setMaxChunk(700);
    t.supply(QByteArray::fromHex("80") + char(3) + "!re" + *::encodeLength(word.size()) + word + '\0' +
             wire({"!done"}));
    const ApiReply reply = readReply(t);
    QCOMPARE(reply.sentences.size(), 2);
    QCOMPARE(reply.sentences[0].words.value(1), word);
}

void CodecTest::hostilePrefixes_data()
{
    QTest::addColumn<QByteArray>("stream");
    // Announced lengths beyond any real word end the reply at once, without
    // waiting for (or allocating) what was announced.
    QTest::addRow("256 MiB announced") << wire({"!re", "=name=a"}) + QByteArray::fromHex("efffffff") + "abc";
    QTest::addRow("0xFF prefix") << wire({"!re", "=name=a"}) + QByteArray::fromHex("ffffffff");
    QTest::addRow("just over the word cap")
        << wire({"!re", "=name=a"}) + *::encodeLength(MaxWordSize + 1) + QByteArray(64, 'x');
}

void CodecTest::hostilePrefixes()
{
    QFETCH(QByteArray, stream);
    MemoryTransport t;
    t.supply(stream + wire({"!done"}));
    const ApiReply reply = readReply(t);
    QCOMPARE(reply.sentences.size(), 1);
    QVERIFY(t.isClosed());
    // The stream is given up: nothing more is read from it.
    QVERIFY(readReply(t).sentences.isEmpty());
}

void CodecTest::replyCap()
{
    // A peer that never ends its reply: the reader stops near the cap.
    const QByteArray sentence = wire({"!re", QByteArray("=name=") + QByteArray(100, 'n')});
    const qsizetype count = MaxReplySize / 100 + 10;
    QByteArray flood;
    flood.reserve(sentence.size() * count);
    for (qsizetype i = 0; i < count; ++i)
        flood += sentence;
    MemoryTransport t;
    t.supply(flood);
    const ApiReply reply = readReply(t);
    QVERIFY(t.isClosed());
    QVERIFY(reply.sentences.size() > 100000);
    QVERIFY(reply.sentences.size() < count);
}

void CodecTest::attributes()
{
    ApiSentence s;
    s.words = {"!re", "=.id=*A", "=name=first", "=comment=x=name=second", "=name=third"};
    QCOMPARE(attributeValue(s, u"=.id="_s), u"*A"_s);
    QCOMPARE(attributeValue(s, u"=name="_s), u"first"_s);
    QCOMPARE(lastAttributeValue(s, u"=name="_s), u"third"_s);
    // A key inside a word counts, the value is what follows it.
    s.words = {"!re", "=comment=x=name=second"};
    QCOMPARE(attributeValue(s, u"=name="_s), u"second"_s);
    QVERIFY(!attributeValue(s, u"=message="_s));
    s.words = {"!re", "=comment=\xc3\xa7"};
    QCOMPARE(attributeValue(s, u"=comment="_s), u"ç"_s);
    clear(s);
    QVERIFY(s.words.isEmpty());
}

WIFITICKETER_TEST(CodecTest)
#include "codectest.moc"
