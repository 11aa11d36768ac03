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
    void load_data();
    void load();
    void loadKeepsLast99WithTotalOfAll();
    void loadsFixture();
    void noFileOrMissingFileIsEmpty();
    void clearWritesEmptyFile();
    void appendIsOnDiskAtOnce();
    void loadAfterAppendKeepsSale();
    void appendBeforeLoadKeepsFileSales();
    void failedWriteKeepsSale_data();
    void failedWriteKeepsSale();
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

PosHistory loaded(const QString &path)
{
    PosHistory history;
    history.setFile(path);
    history.load();
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

    TestFolder folder;
    const QString path = posHistoryPath(folder.dataFolder());
    PosHistory history;
    history.setFile(path);
    history.append({1, title, 100});
    QCOMPARE(history.entry(0).title, title.left(storedUnits));
    QCOMPARE(loaded(path).entry(0).title, title.left(storedUnits));
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

void PosHistoryTest::load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("total");

    const QByteArray hour = sale(1, u"Hora"_s, 500);
    const QByteArray day = sale(2, u"Dia"_s, 1250);
    const QByteArray week = sale(3, u"Semana"_s, 3000);
    const QStringList all = {u"1 x Hora @ 500"_s, u"2 x Dia @ 1250"_s, u"3 x Semana @ 3000"_s};
    const QStringList first = all.first(1);

    QTest::addRow("empty file") << QByteArray() << QStringList() << 0;
    QTest::addRow("three records and five stray bytes")
        << hour + day + week + QByteArray("\x01\x02\x03\x04\x05") << all << 12000;
    QTest::addRow("stray bytes that start a plausible record")
        << hour + le32(216) + le32(2) + QByteArray(10, '\0') << first << 500;
    QTest::addRow("record cut short ends reading") << hour + day.left(215) << first << 500;
    QTest::addRow("size above 216 ends reading") << hour + recordBytes(217, 2, '\x5a') + day << first << 500;
    QTest::addRow("huge size ends reading") << hour + le32(0xffffffff) + le32(2) + day << first << 500;
    QTest::addRow("size below 8 ends reading") << hour + le32(4) + le32(2) + day << first << 500;
    QTest::addRow("size 0 ends reading") << hour + le32(0) + le32(0) + day << first << 500;
    QTest::addRow("kind 3 of size 216 is skipped")
        << hour + recordBytes(216, 3, '\x5a') + day + week << all << 12000;
    QTest::addRow("kind 1 of size 216 is skipped")
        << hour + recordBytes(216, 1, '\x5a') + day + week << all << 12000;
    QTest::addRow("kind 2 of size 116 is skipped")
        << hour + recordBytes(116, 2, '\x5a') + day + week << all << 12000;
    QTest::addRow("header alone of another kind is skipped")
        << recordBytes(8, 9, '\x5a') + hour << first << 500;
    QTest::addRow("kind 1 with a UTF-8 title")
        << oldSale(4, "Caf\xc3\xa9", 750) + day << QStringList{u"4 x Café @ 750"_s, all[1]} << 5500;
    QTest::addRow("kind 1 title of 100 bytes without NUL")
        << oldSale(1, QByteArray(100, 'a'), 100) << QStringList{u"1 x "_s + QString(99, u'a') + u" @ 100"_s}
        << 100;
    QTest::addRow("kind 2 title of 100 units without NUL")
        << le32(216) + le32(2) + le32(1) + QByteArray(200, 'b') + le32(100)
        << QStringList{u"1 x "_s + QString(99, QChar(0x6262)) + u" @ 100"_s} << 100;
    QTest::addRow("signed fields") << sale(-1, u"Estorno"_s, 500) + sale(1, u"Brinde"_s, -20)
                                   << QStringList{u"-1 x Estorno @ 500"_s, u"1 x Brinde @ -20"_s} << -520;
}

void PosHistoryTest::load()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    QFETCH(int, total);

    TestFolder folder;
    folder.writeDataFile(u"PosHistory.bin"_s, file);
    const PosHistory history = loaded(posHistoryPath(folder.dataFolder()));
    QCOMPARE(entries(history), expected);
    QCOMPARE(history.total(), total);
    QVERIFY(!history.dirty());
    QVERIFY(!history.unsaved());
}

void PosHistoryTest::loadKeepsLast99WithTotalOfAll()
{
    QByteArray file;
    for (int i = 1; i <= 150; ++i)
        file += sale(1, u"v%1"_s.arg(i), i);
    TestFolder folder;
    folder.writeDataFile(u"PosHistory.bin"_s, file);

    const PosHistory history = loaded(posHistoryPath(folder.dataFolder()));
    QCOMPARE(history.size(), 99);
    QCOMPARE(history.entry(0).title, u"v52"_s);
    QCOMPARE(history.entry(98).title, u"v150"_s);
    QCOMPARE(history.total(), 150 * 151 / 2);
}

void PosHistoryTest::loadsFixture()
{
    TestFolder folder;
    folder.copyFixture(u"PosHistory.bin"_s, u"PosHistory.bin"_s);
    const PosHistory history = loaded(posHistoryPath(folder.dataFolder()));
    QCOMPARE(entries(history),
             QStringList({u"2 x 1 hora @ 500"_s, u"1 x Café @ 750"_s, u"5 x Diária Premium @ 1250"_s}));
    QCOMPARE(history.total(), 1000 + 750 + 6250);
}

void PosHistoryTest::noFileOrMissingFileIsEmpty()
{
    PosHistory memoryOnly;
    memoryOnly.setFile(posHistoryPath(QString()));
    QVERIFY(memoryOnly.file().isEmpty());
    memoryOnly.load();
    QCOMPARE(memoryOnly.size(), 0);
    QVERIFY(!memoryOnly.save());

    // A history that was written and whose file then went away loads empty.
    TestFolder folder;
    const QString path = posHistoryPath(folder.dataFolder());
    PosHistory history;
    history.setFile(path);
    history.load();
    QCOMPARE(history.size(), 0);
    history.append({1, u"Hora"_s, 500});
    QVERIFY(QFile::remove(path));
    history.load();
    QCOMPARE(history.size(), 0);
    QCOMPARE(history.total(), 0);
    QVERIFY(!history.dirty());
}

void PosHistoryTest::clearWritesEmptyFile()
{
    TestFolder folder;
    folder.writeDataFile(u"PosHistory.bin"_s, sale(1, u"Hora"_s, 500) + sale(2, u"Dia"_s, 1250));
    const QString path = posHistoryPath(folder.dataFolder());
    PosHistory history = loaded(path);
    QCOMPARE(history.size(), 2);

    history.clear();
    QCOMPARE(history.size(), 0);
    QCOMPARE(history.total(), 0);
    QVERIFY(history.dirty());
    QVERIFY(!history.unsaved());
    QVERIFY(QFile::exists(path));
    QCOMPARE(readFile(path), QByteArray());

    history.append({3, u"Semana"_s, 3000});
    QCOMPARE(entries(history), QStringList{u"3 x Semana @ 3000"_s});
    QCOMPARE(history.total(), 9000);
}

void PosHistoryTest::appendIsOnDiskAtOnce()
{
    TestFolder folder;
    // The data folder does not exist yet: the first write creates it.
    const QString path = posHistoryPath(folder.dataFolder());
    PosHistory history;
    history.setFile(path);
    history.load();

    const PosHistoryEntry first{2, u"Café"_s, 500};
    const PosHistoryEntry second{1, u"Diária"_s, 1250};
    QCOMPARE(history.append(first), 1000);
    QCOMPARE(history.append(second), 1250);
    QVERIFY(history.dirty());
    QVERIFY(!history.unsaved());
    QCOMPARE(readFile(path), sale(2, u"Café"_s, 500) + sale(1, u"Diária"_s, 1250));

    // Another history, as a crash and a new start would have it.
    const PosHistory other = loaded(path);
    QCOMPARE(entries(other), entries(history));
    QCOMPARE(other.total(), 2250);
}

void PosHistoryTest::loadAfterAppendKeepsSale()
{
    TestFolder folder;
    folder.writeDataFile(u"PosHistory.bin"_s, sale(1, u"Hora"_s, 500));
    PosHistory history = loaded(posHistoryPath(folder.dataFolder()));

    history.append({2, u"Dia"_s, 1250});
    // A second login in the same process loads again.
    history.load();
    QCOMPARE(entries(history), QStringList({u"1 x Hora @ 500"_s, u"2 x Dia @ 1250"_s}));
    QCOMPARE(history.total(), 3000);
    QVERIFY(!history.dirty());
}

// A caller that forgets the load must not replace the shift's sales with its
// one sale: the file is read before the first change.
void PosHistoryTest::appendBeforeLoadKeepsFileSales()
{
    TestFolder folder;
    folder.writeDataFile(u"PosHistory.bin"_s, sale(1, u"Hora"_s, 500) + sale(3, u"Dia"_s, 1250));
    PosHistory history;
    history.setFile(posHistoryPath(folder.dataFolder()));

    QCOMPARE(history.append({2, u"Semana"_s, 3000}), 6000);
    QCOMPARE(folder.readDataFile(u"PosHistory.bin"_s),
             sale(1, u"Hora"_s, 500) + sale(3, u"Dia"_s, 1250) + sale(2, u"Semana"_s, 3000));
    QCOMPARE(entries(history),
             QStringList({u"1 x Hora @ 500"_s, u"3 x Dia @ 1250"_s, u"2 x Semana @ 3000"_s}));
    QCOMPARE(history.total(), 500 + 3750 + 6000);
}

void PosHistoryTest::failedWriteKeepsSale_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::addRow("read-only folder") << true;
    QTest::addRow("parent is a regular file") << false;
}

void PosHistoryTest::failedWriteKeepsSale()
{
    QFETCH(bool, readOnlyFolder);

    TestFolder folder;
    QVERIFY(folder.isValid());
    const QString dir = folder.path() + u"/pos"_s;
    const QString path = dir + u"/PosHistory.bin"_s;
    const QByteArray old = sale(1, u"Hora"_s, 500);
    if (readOnlyFolder) {
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(writeFile(path, old));
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(dir + u"/probe"_s);
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("permissions do not stop this user's writes");
        }
    } else {
        QVERIFY(writeFile(dir, "not a folder"));
    }
    const QStringList before = readOnlyFolder ? QStringList{u"1 x Hora @ 500"_s} : QStringList();

    PosHistory history = loaded(path);
    QCOMPARE(entries(history), before);
    QCOMPARE(history.append({2, u"Dia"_s, 1250}), 2500);
    QVERIFY(history.unsaved());
    QVERIFY(history.dirty());
    QVERIFY(!history.save());
    QVERIFY(history.unsaved());
    if (readOnlyFolder)
        QCOMPARE(readFile(path), old);
    else
        QCOMPARE(readFile(dir), QByteArray("not a folder"));

    // A load while the write still fails keeps what is in memory.
    history.load();
    QCOMPARE(entries(history), before + QStringList{u"2 x Dia @ 1250"_s});
    QVERIFY(history.unsaved());
    history.append({3, u"Semana"_s, 3000});
    const QStringList all = before + QStringList{u"2 x Dia @ 1250"_s, u"3 x Semana @ 3000"_s};
    QCOMPARE(entries(history), all);
    QVERIFY(history.unsaved());

    // Once the folder can be written, the next load writes the sales first.
    if (readOnlyFolder) {
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    } else {
        QVERIFY(QFile::remove(dir));
        QVERIFY(QDir().mkpath(dir));
    }
    history.load();
    QCOMPARE(entries(history), all);
    QVERIFY(!history.unsaved());
    QVERIFY(!history.dirty());
    QCOMPARE(entries(loaded(path)), all);
}

WIFITICKETER_TEST(PosHistoryTest)
#include "poshistorytest.moc"
