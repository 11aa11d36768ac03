#include "filebytes.h"
#include "recordbytes.h"
#include "testfolder.h"
#include "testmain.h"

#include "pos/poshistory.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;

class PosHistoryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recordLayout_data();
    void recordLayout();
    void appendStoresTitleAsTheFileHoldsIt_data();
    void appendStoresTitleAsTheFileHoldsIt();
    void appendAmountAndTotalWrap_data();
    void appendAmountAndTotalWrap();
    void fullRingDropsOldest();
    void decode_data();
    void decode();
    void assignKeepsLast99WithTotalOfAll();
    void decodesFixture();
    void encodeDecodeRoundTrip();
};

namespace {

// Little-endian bytes built here, independently of the program's field helpers.
QByteArray le32(quint32 value)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes += char((value >> (8 * i)) & 0xff);
    return bytes;
}

// A title field of 100 UTF-16LE units holding `title` (at most 99 units).
QByteArray titleField(const QString &title)
{
    QByteArray bytes;
    for (QChar c : title)
        bytes += le32(c.unicode()).left(2);
    return bytes + QByteArray(200 - bytes.size(), '\0');
}

QByteArray sale(qint32 count, const QString &title, qint32 unitPrice)
{
    return le32(216) + le32(2) + le32(quint32(count)) + titleField(title) + le32(quint32(unitPrice));
}

// A kind-1 record; `title` is the UTF-8 bytes, at most 100.
QByteArray oldSale(qint32 count, const QByteArray &title, qint32 unitPrice)
{
    return le32(116) + le32(1) + le32(quint32(count)) + title + QByteArray(100 - title.size(), '\0') +
           le32(quint32(unitPrice));
}

QString describe(const PosHistoryEntry &e)
{
    return u"%1 x %2 @ %3"_s.arg(e.count).arg(e.title).arg(e.unitPrice);
}

QStringList entries(const PosHistory &history)
{
    QStringList list;
    for (int i = 0; i < history.size(); ++i)
        list.append(describe(history.entry(i)));
    return list;
}

// The history as loading the file's bytes gives it.
PosHistory loaded(const QByteArray &file)
{
    PosHistory history;
    history.assign(decodePosHistoryFile(file).entries);
    return history;
}

const QString Emoji = u"\U0001F600"_s; // one character, two UTF-16 units

} // namespace

void PosHistoryTest::recordLayout_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("storedUnits");

    QTest::addRow("short title") << u"Diária 1h"_s << 9;
    QTest::addRow("empty title") << QString() << 0;
    QTest::addRow("99 units fit") << QString(99, u'x') << 99;
    QTest::addRow("120 characters keep 99") << QString(120, u'y') << 99;
    QTest::addRow("pair ending at unit 99 fits") << QString(97, u'a') + Emoji << 99;
    QTest::addRow("pair across the cut goes whole") << QString(98, u'a') + Emoji + u"b"_s << 98;
    QTest::addRow("NUL ends the title") << u"ab\0cd"_s << 2;
}

void PosHistoryTest::recordLayout()
{
    QFETCH(QString, title);
    QFETCH(int, storedUnits);

    const QByteArray bytes = encodePosHistoryEntry({7, title, -250});
    QCOMPARE(bytes.size(), 216);
    QCOMPARE(bytes.mid(0, 4), QByteArray("\xd8\x00\x00\x00", 4));
    QCOMPARE(bytes.mid(4, 4), QByteArray("\x02\x00\x00\x00", 4));
    QCOMPARE(bytes.mid(8, 4), QByteArray("\x07\x00\x00\x00", 4));
    QCOMPARE(bytes.mid(12, 200), titleField(title.left(storedUnits)));
    QCOMPARE(bytes.mid(212, 4), QByteArray("\x06\xff\xff\xff", 4));
}

void PosHistoryTest::appendStoresTitleAsTheFileHoldsIt_data()
{
    recordLayout_data();
}

void PosHistoryTest::appendStoresTitleAsTheFileHoldsIt()
{
    QFETCH(QString, title);
    QFETCH(int, storedUnits);

    PosHistory history;
    history.append({1, title, 100});
    QCOMPARE(history.entry(0).title, title.left(storedUnits));
    QCOMPARE(loaded(encodePosHistoryFile(history.entries())).entry(0).title, title.left(storedUnits));
}

void PosHistoryTest::appendAmountAndTotalWrap_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("unitPrice");
    QTest::addColumn<int>("amount");
    QTest::addColumn<int>("totalOfTwo");

    constexpr int Min = std::numeric_limits<qint32>::min();
    constexpr int Max = std::numeric_limits<qint32>::max();
    QTest::addRow("plain") << 3 << 500 << 1500 << 3000;
    QTest::addRow("negative count") << -2 << 500 << -1000 << -2000;
    QTest::addRow("product wraps") << 2 << 0x40000000 << Min << 0;
    QTest::addRow("product wraps to zero") << 65536 << 65536 << 0 << 0;
    QTest::addRow("minus one times minimum") << -1 << Min << Min << 0;
    QTest::addRow("sum wraps") << 1 << Max << Max << -2;
}

void PosHistoryTest::appendAmountAndTotalWrap()
{
    QFETCH(int, count);
    QFETCH(int, unitPrice);
    QFETCH(int, amount);
    QFETCH(int, totalOfTwo);

    PosHistory history;
    QCOMPARE(history.append({count, u"Hora"_s, unitPrice}), amount);
    QCOMPARE(history.total(), amount);
    QCOMPARE(history.append({count, u"Hora"_s, unitPrice}), amount);
    QCOMPARE(history.total(), totalOfTwo);
}

void PosHistoryTest::fullRingDropsOldest()
{
    // Many more sales than the ring holds, so its ends wrap around several
    // times: after each one the newest 99 are held, oldest first.
    PosHistory history;
    qint32 total = 0;
    for (int sale = 1; sale <= 250; ++sale) {
        total += 2 * sale;
        history.append({2, u"venda %1"_s.arg(sale), sale});
        const int held = qMin(sale, 99);
        QCOMPARE(history.size(), held);
        QCOMPARE(history.total(), total);
        for (int i = 0; i < held; ++i)
            QCOMPARE(history.entry(i).unitPrice, sale - held + 1 + i);
    }
    QCOMPARE(history.entry(0).title, u"venda 152"_s);
    QCOMPARE(history.entry(98).title, u"venda 250"_s);
}

void PosHistoryTest::decode_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("total");
    QTest::addColumn<bool>("whole");

    const QByteArray hour = sale(1, u"Hora"_s, 500);
    const QByteArray day = sale(2, u"Dia"_s, 1250);
    const QByteArray week = sale(3, u"Semana"_s, 3000);
    const QStringList all = {u"1 x Hora @ 500"_s, u"2 x Dia @ 1250"_s, u"3 x Semana @ 3000"_s};
    const QStringList first = all.first(1);

    QTest::addRow("empty file") << QByteArray() << QStringList() << 0 << true;
    QTest::addRow("three records and five stray bytes")
        << hour + day + week + QByteArray("\x01\x02\x03\x04\x05") << all << 12000 << false;
    QTest::addRow("stray bytes that start a plausible record")
        << hour + le32(216) + le32(2) + QByteArray(10, '\0') << first << 500 << false;
    QTest::addRow("record cut short ends reading") << hour + day.left(215) << first << 500 << false;
    QTest::addRow("size above 216 ends reading")
        << hour + recordBytes(217, 2, '\x5a') + day << first << 500 << false;
    QTest::addRow("huge size ends reading")
        << hour + le32(0xffffffff) + le32(2) + day << first << 500 << false;
    QTest::addRow("size below 8 ends reading") << hour + le32(4) + le32(2) + day << first << 500 << false;
    QTest::addRow("size 0 ends reading") << hour + le32(0) + le32(0) + day << first << 500 << false;
    QTest::addRow("kind 3 of size 216 is skipped")
        << hour + recordBytes(216, 3, '\x5a') + day + week << all << 12000 << false;
    QTest::addRow("kind 1 of size 216 is skipped")
        << hour + recordBytes(216, 1, '\x5a') + day + week << all << 12000 << false;
    QTest::addRow("kind 2 of size 116 is skipped")
        << hour + recordBytes(116, 2, '\x5a') + day + week << all << 12000 << false;
    QTest::addRow("header alone of another kind is skipped")
        << recordBytes(8, 9, '\x5a') + hour << first << 500 << false;
    QTest::addRow("kind 1 with a UTF-8 title")
        << oldSale(4, "Caf\xc3\xa9", 750) + day << QStringList{u"4 x Café @ 750"_s, all[1]} << 5500 << true;
    QTest::addRow("kind 1 title of 100 bytes without NUL")
        << oldSale(1, QByteArray(100, 'a'), 100) << QStringList{u"1 x "_s + QString(99, u'a') + u" @ 100"_s}
        << 100 << true;
    QTest::addRow("kind 2 title of 100 units without NUL")
        << le32(216) + le32(2) + le32(1) + QByteArray(200, 'b') + le32(100)
        << QStringList{u"1 x "_s + QString(99, QChar(0x6262)) + u" @ 100"_s} << 100 << true;
    QTest::addRow("signed fields") << sale(-1, u"Estorno"_s, 500) + sale(1, u"Brinde"_s, -20)
                                   << QStringList{u"-1 x Estorno @ 500"_s, u"1 x Brinde @ -20"_s} << -520
                                   << true;
}

void PosHistoryTest::decode()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    QFETCH(int, total);
    QFETCH(bool, whole);

    QCOMPARE(decodePosHistoryFile(file).whole, whole);
    const PosHistory history = loaded(file);
    QCOMPARE(entries(history), expected);
    QCOMPARE(history.total(), total);
}

void PosHistoryTest::assignKeepsLast99WithTotalOfAll()
{
    QByteArray file;
    for (int i = 1; i <= 150; ++i)
        file += sale(1, u"v%1"_s.arg(i), i);

    const PosHistory history = loaded(file);
    QCOMPARE(history.size(), 99);
    QCOMPARE(history.entry(0).title, u"v52"_s);
    QCOMPARE(history.entry(98).title, u"v150"_s);
    QCOMPARE(history.total(), 150 * 151 / 2);
}

void PosHistoryTest::decodesFixture()
{
    const PosHistory history = loaded(fixture(u"PosHistory.bin"_s));
    QCOMPARE(entries(history),
             QStringList({u"2 x 1 hora @ 500"_s, u"1 x Café @ 750"_s, u"5 x Diária Premium @ 1250"_s}));
    QCOMPARE(history.total(), 1000 + 750 + 6250);
}

void PosHistoryTest::encodeDecodeRoundTrip()
{
    // Records of the older kind are written as the current one.
    const QByteArray file = oldSale(4, "Caf\xc3\xa9", 750) + sale(2, u"Dia"_s, 1250);
    const QByteArray written = encodePosHistoryFile(decodePosHistoryFile(file).entries);
    QCOMPARE(written, sale(4, u"Café"_s, 750) + sale(2, u"Dia"_s, 1250));
    QCOMPARE(encodePosHistoryFile({}), QByteArray());
}

WIFITICKETER_TEST(PosHistoryTest)
#include "poshistorytest.moc"
