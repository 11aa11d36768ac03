#include "testmain.h"

#include "base/scramble.h"

#include <QTest>

using namespace Qt::StringLiterals;

class ScrambleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void knownBytes();
    void olderForm();
    void unreadable_data();
    void unreadable();
    void limits();
};

void ScrambleTest::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addRow("empty") << QString();
    QTest::addRow("one character") << u"a"_s;
    QTest::addRow("accents and symbols") << u"Senha çãé € 🔑"_s;
    QTest::addRow("199 characters") << QString(199, u'z');
    QTest::addRow("high code units") << QString(QChar(0xFFFF)) + QChar(0xD7FF) + QChar(0x0001);
}

void ScrambleTest::roundTrip()
{
    QFETCH(QString, text);
    const QByteArray bytes = scramble(text);
    QCOMPARE(bytes.size(), 1 + 2 * text.size());
    QCOMPARE(uchar(bytes[0]), 0xFF);
    QCOMPARE(unscramble(bytes), text);
}

void ScrambleTest::knownBytes()
{
    // Worked by hand: 'a' (0x61) at index 0 gives d = 0x61 + 0x2D6F = 0x2DD0,
    // stored as d + 0x4B1D = 0x78ED; 'b' at index 1 gives d = 0x62 + 2 + 0x2D6F
    // = 0x2DD3, stored as 0x2DD3 + 0x2DD0 = 0x5BA3.
    QCOMPARE(scramble(u"ab"_s), QByteArray::fromHex("ffed78a35b"));
    QCOMPARE(scramble(QString()), QByteArray::fromHex("ff"));
    QCOMPARE(unscramble(QByteArray::fromHex("ff")), QString());
}

void ScrambleTest::olderForm()
{
    // Even-sized values without the mark come from older versions, which
    // shifted the character left by 4 before chaining.
    auto older = [](const QString &text) {
        QByteArray out;
        quint16 previous = 0x4B1D;
        for (qsizetype k = 0; k < text.size(); ++k) {
            quint16 a = quint16(((text[k].unicode() + 2 * k) << 4) + 0x2D6F);
            quint16 w = quint16(a + previous);
            out.append(char(w & 0xFF));
            out.append(char(w >> 8));
            previous = a;
        }
        return out;
    };
    QCOMPARE(unscramble(older(u"admin"_s)), u"admin"_s);
    QCOMPARE(unscramble(older(u"x"_s)), u"x"_s);
}

void ScrambleTest::unreadable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("no bytes") << QByteArray();
    QTest::addRow("odd without the mark") << QByteArray::fromHex("feed78");
}

void ScrambleTest::unreadable()
{
    QFETCH(QByteArray, bytes);
    QCOMPARE(unscramble(bytes), QString());
}

void ScrambleTest::limits()
{
    // Scrambling stores at most 199 characters; reading yields at most 200.
    QCOMPARE(unscramble(scramble(QString(250, u'q'))), QString(199, u'q'));
    QByteArray long201 = scramble(QString(199, u'q'));
    long201 += QByteArray(8, '\x11');
    QCOMPARE(unscramble(long201).size(), 200);
    // A pair across the limit is left out whole.
    QCOMPARE(unscramble(scramble(QString(198, u'q') + u"😀"_s)), QString(198, u'q'));
}

WIFITICKETER_TEST(ScrambleTest)
#include "scrambletest.moc"
