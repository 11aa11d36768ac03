#include "lengthprefixes.h"
#include "testmain.h"

#include "routersim/wireformat.h"

#include <QTest>

using namespace routersim;

class WireFormatTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lengthPrefix_data();
    void lengthPrefix();
    void readsWhatItWrites_data();
    void readsWhatItWrites();
    void readsFiveByteForm();
    void waitsForWholeSentence();
    void takesSentencesOneByOne();
    void refusesUnreadableStream_data();
    void refusesUnreadableStream();
};

void WireFormatTest::lengthPrefix_data()
{
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QByteArray>("prefix");
    for (const LengthPrefix &row : fourByteLengthPrefixes())
        QTest::addRow("%s", row.name) << row.length << row.prefix;
    QTest::addRow("0x10000000") << qint64(0x10000000) << QByteArray::fromHex("f010000000");
}

void WireFormatTest::lengthPrefix()
{
    QFETCH(qint64, length);
    QFETCH(QByteArray, prefix);
    QCOMPARE(encodeLength(length).toHex(), prefix.toHex());
}

void WireFormatTest::readsWhatItWrites_data()
{
    QTest::addColumn<qsizetype>("wordSize");
    for (const qsizetype size : {1, 0x7F, 0x80, 0x3FFF, 0x4000, 0x1FFFFF, 0x200000})
        QTest::addRow("%lld", qlonglong(size)) << size;
}

void WireFormatTest::readsWhatItWrites()
{
    QFETCH(qsizetype, wordSize);
    QByteArray word(wordSize, 'w');
    word[wordSize - 1] = 'z';
    const Sentence sent{"/system/script/add", word, "=name=x"};
    QByteArray bytes = encodeSentence(sent);
    Sentence received;
    QCOMPARE(takeSentence(bytes, received), TakeResult::Taken);
    QCOMPARE(received, sent);
    QVERIFY(bytes.isEmpty());
}

void WireFormatTest::readsFiveByteForm()
{
    // Clients may announce any length with 0xF0 and four bytes.
    QByteArray bytes = QByteArray::fromHex("f000000006") + "/login" + QByteArray::fromHex("f000000003") +
                       "=a=" + QByteArray(1, '\0');
    Sentence received;
    QCOMPARE(takeSentence(bytes, received), TakeResult::Taken);
    QCOMPARE(received, (Sentence{"/login", "=a="}));
}

void WireFormatTest::waitsForWholeSentence()
{
    const QByteArray whole = encodeSentence({"/ip/hotspot/user/print", QByteArray(300, 'q')});
    // Every cut before the final empty word leaves the bytes untouched.
    for (qsizetype cut = 0; cut < whole.size(); ++cut) {
        QByteArray part = whole.left(cut);
        Sentence received;
        QCOMPARE(takeSentence(part, received), TakeResult::NeedMore);
        QCOMPARE(part, whole.left(cut));
    }
}

void WireFormatTest::takesSentencesOneByOne()
{
    QByteArray bytes =
        encodeSentence({"/login"}) + encodeSentence({}) + encodeSentence({"/quit"}) + "\x05/qu";
    Sentence received;
    QCOMPARE(takeSentence(bytes, received), TakeResult::Taken);
    QCOMPARE(received, Sentence{"/login"});
    QCOMPARE(takeSentence(bytes, received), TakeResult::Taken);
    QCOMPARE(received, Sentence{});
    QCOMPARE(takeSentence(bytes, received), TakeResult::Taken);
    QCOMPARE(received, Sentence{"/quit"});
    QCOMPARE(takeSentence(bytes, received), TakeResult::NeedMore);
    QCOMPARE(bytes, QByteArray("\x05/qu"));
}

void WireFormatTest::refusesUnreadableStream_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("control byte") << QByteArray::fromHex("f8");
    QTest::addRow("control byte after a word") << QByteArray::fromHex("062f6c6f67696eff");
    QTest::addRow("word over the limit") << QByteArray::fromHex("f004000001");
}

void WireFormatTest::refusesUnreadableStream()
{
    QFETCH(QByteArray, bytes);
    Sentence received;
    QCOMPARE(takeSentence(bytes, received), TakeResult::Malformed);
}

WIFITICKETER_TEST(WireFormatTest)
#include "wireformattest.moc"
