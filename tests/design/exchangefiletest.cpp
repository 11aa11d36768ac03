#include "designlists.h"
#include "designtestdata.h"
#include "filebytes.h"
#include "localtimezone.h"
#include "recordbytes.h"
#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/binaryfields.h"
#include "design/designrecords.h"
#include "design/designsharing.h"
#include "design/exchangefile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// 2023-11-14 22:13:20 in the tests' time zone, UTC.
constexpr qint64 Now = 1700000000;
const QString Stamp = u"231114221320"_s;

// The bitmaps design.tkd embeds.
QByteArray bitmapA()
{
    QByteArray data("BM");
    for (int i = 0; i < 40; ++i)
        data += char(i);
    return data;
}

QByteArray bitmapB()
{
    return "BM" + QByteArray(5000, '\xff');
}

// Offsets in design.tkd.
constexpr qsizetype FirstBitmap = 428 + 436;
constexpr qsizetype OtherType = FirstBitmap + 12 + 42;
constexpr qsizetype BuiltInGraphic = OtherType + 20;
constexpr qsizetype SecondImage = BuiltInGraphic + 436;
constexpr qsizetype SecondBitmap = SecondImage + 436;
constexpr qsizetype LastText = SecondBitmap + 12 + 5002;

// What design.tkd imports as, its bitmaps stored under `stamp` with the
// counters given.
VoucherDesign sharedDesign(const QString &stamp, int first, int second)
{
    VoucherDesign d;
    d.Name = u"Compartilhado"_s;
    d.Width = 840;
    d.Height = 540;
    d.Margin = 100;
    d.Copies = 3;
    d.Graphics = {
        {stamp + QString::asprintf("%02X.bmp", first), DesignGraphic::Image, 0, 0, 10, 10, 200, 100, 1, 0},
        {u"<Padrão>"_s, DesignGraphic::Image, 0, 0, 0, 0, 840, 540, 1, 0},
        {stamp + QString::asprintf("%02X.bmp", second), DesignGraphic::Image, 0, 0, 500, 10, 300, 300, 1, 0},
    };
    d.Texts = {{u"${user}"_s, u"Arial"_s, 18, false, false, 0, 0, 0, 270, 229}};
    return d;
}

QByteArray bitmapRecord(const QByteArray &data)
{
    QByteArray r = recordBytes(12, 22);
    putU32(r, 8, quint32(data.size()));
    return r + data;
}

// The files of the data folder.
QStringList storedFiles(const TestFolder &folder)
{
    return QDir(folder.dataFolder()).entryList(QDir::Files, QDir::Name);
}

} // namespace

class ExchangeFileTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void importFixture();
    void importTakesNextFreeNames();
    void importOlderGeneration();
    void importOutcomes_data();
    void importOutcomes();
    void failedImportKeepsStoredBitmaps();
    void importWithAllNamesTaken();
    void importWithoutDataFolder();
    void importTooLongForASource();
    void importMissingFile();
    void exportEmbedsReadableImagesOnly();
    void exportThenImport();
    void exportFailure();
    void uniqueName_data();
    void uniqueName();
    void shareCommands();

private:
    std::optional<LocalTimeZone> m_zone;
};

void ExchangeFileTest::initTestCase()
{
    m_zone.emplace("UTC0");
}

void ExchangeFileTest::cleanupTestCase()
{
    m_zone.reset();
}

void ExchangeFileTest::importFixture()
{
    TestFolder folder;
    folder.writeDataFile(u"design.tkd"_s, fixture(u"design.tkd"_s));
    VoucherDesign design;
    // The record of a type the importer does not know is skipped.
    QVERIFY(importDesign(folder.dataFolder() + u"/design.tkd"_s, design, folder.dataFolder(), Now));
    const QString stamp = folder.dataFolder() + u'/' + Stamp;
    QCOMPARE(design, sharedDesign(stamp, 1, 2));
    QCOMPARE(readFile(stamp + u"01.bmp"_s), bitmapA());
    QCOMPARE(readFile(stamp + u"02.bmp"_s), bitmapB());
    QCOMPARE(storedFiles(folder), (QStringList{Stamp + u"01.bmp"_s, Stamp + u"02.bmp"_s, u"design.tkd"_s}));
}

void ExchangeFileTest::importTakesNextFreeNames()
{
    TestFolder folder;
    folder.writeDataFile(Stamp + u"01.bmp"_s, "taken");
    folder.writeDataFile(Stamp + u"03.bmp"_s, "taken");
    folder.writeDataFile(u"design.tkd"_s, fixture(u"design.tkd"_s));
    VoucherDesign design;
    QVERIFY(importDesign(folder.dataFolder() + u"/design.tkd"_s, design, folder.dataFolder(), Now));
    const QString stamp = folder.dataFolder() + u'/' + Stamp;
    QCOMPARE(design, sharedDesign(stamp, 2, 4));
    QCOMPARE(readFile(stamp + u"01.bmp"_s), QByteArray("taken"));
    QCOMPARE(readFile(stamp + u"04.bmp"_s), bitmapB());

    // A second import in the same second goes on after them.
    VoucherDesign again;
    QVERIFY(importDesign(folder.dataFolder() + u"/design.tkd"_s, again, folder.dataFolder(), Now));
    QCOMPARE(again, sharedDesign(stamp, 5, 6));
}

void ExchangeFileTest::importOlderGeneration()
{
    TestFolder folder;
    folder.copyFixture(u"Voucher-old.bin"_s, u"old.tkd"_s);
    VoucherDesign design;
    QVERIFY(importDesign(folder.dataFolder() + u"/old.tkd"_s, design, folder.dataFolder(), Now));
    QCOMPARE(design, oldDesign());
}

void ExchangeFileTest::importOutcomes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("imported");
    QTest::addColumn<int>("graphics");
    QTest::addColumn<int>("texts");
    const QByteArray tkd = fixture(u"design.tkd"_s);
    const QByteArray first = fixture(u"Voucher-first.bin"_s);
    const QByteArray header = tkd.left(428);

    QTest::addRow("whole") << tkd << true << 3 << 1;
    QTest::addRow("no header") << tkd.mid(428) << false << 3 << 1;
    QTest::addRow("header after the elements") << tkd.mid(428) + header << true << 3 << 1;
    QTest::addRow("a header alone") << header << true << 0 << 0;
    QTest::addRow("empty") << QByteArray() << false << 0 << 0;
    QTest::addRow("cut in the last record") << tkd.chopped(100) << true << 3 << 0;
    QTest::addRow("cut in a header") << tkd.left(200) << false << 0 << 0;
    QTest::addRow("size 2000 ends the reading") << withU32(tkd, LastText, 2000) << true << 3 << 0;
    QTest::addRow("graphic of a wrong size fails") << withU32(tkd, SecondImage, 432) << false << 2 << 0;
    QTest::addRow("header of a wrong size fails") << withU32(tkd, 0, 436) << false << 0 << 0;
    QTest::addRow("bitmap record of a wrong size fails") << withU32(tkd, FirstBitmap, 16) << false << 1 << 0;
    QTest::addRow("bitmap data cut short fails") << tkd.left(SecondBitmap + 12 + 100) << false << 3 << 0;
    QTest::addRow("bitmap before any graphic fails")
        << header + bitmapRecord("BM") + tkd.mid(428) << false << 0 << 0;
    QTest::addRow("first-generation records skipped") << header + first + tkd.mid(428) << true << 3 << 1;
    QTest::addRow("first-generation record of any size skipped")
        << header + withU32(recordBytes(20, 2), 0, 20) + tkd.mid(428) << true << 3 << 1;
    QTest::addRow("unknown type of size 1999 skipped")
        << header + recordBytes(1999, 77) + tkd.mid(428) << true << 3 << 1;
    QTest::addRow("bitmap of length 0")
        << header + tkd.mid(428, 436) + bitmapRecord(QByteArray()) << true << 1 << 0;
}

void ExchangeFileTest::importOutcomes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, imported);
    QFETCH(int, graphics);
    QFETCH(int, texts);
    TestFolder folder;
    folder.writeDataFile(u"in.tkd"_s, bytes);
    VoucherDesign design;
    QCOMPARE(importDesign(folder.dataFolder() + u"/in.tkd"_s, design, folder.dataFolder(), Now), imported);
    QCOMPARE(design.Graphics.size(), graphics);
    QCOMPARE(design.Texts.size(), texts);
    if (imported && graphics > 0)
        QCOMPARE(design.Graphics[0].Source, folder.dataFolder() + u'/' + Stamp + u"01.bmp"_s);
}

void ExchangeFileTest::failedImportKeepsStoredBitmaps()
{
    // The second bitmap is cut short: its partial file goes, the first stays.
    TestFolder folder;
    folder.writeDataFile(u"in.tkd"_s, fixture(u"design.tkd"_s).left(SecondBitmap + 12 + 100));
    VoucherDesign design;
    QVERIFY(!importDesign(folder.dataFolder() + u"/in.tkd"_s, design, folder.dataFolder(), Now));
    QCOMPARE(storedFiles(folder), (QStringList{Stamp + u"01.bmp"_s, u"in.tkd"_s}));
    QCOMPARE(folder.readDataFile(Stamp + u"01.bmp"_s), bitmapA());
}

void ExchangeFileTest::importWithAllNamesTaken()
{
    TestFolder folder;
    for (int counter = 1; counter <= 0xFE; ++counter)
        folder.writeDataFile(Stamp + QString::asprintf("%02X.bmp", counter), "taken");
    folder.writeDataFile(u"design.tkd"_s, fixture(u"design.tkd"_s));
    VoucherDesign design;
    // FF takes the first bitmap; none is left for the second.
    QVERIFY(!importDesign(folder.dataFolder() + u"/design.tkd"_s, design, folder.dataFolder(), Now));
    QCOMPARE(folder.readDataFile(Stamp + u"FF.bmp"_s), bitmapA());
    QCOMPARE(storedFiles(folder).size(), 0xFF + 1);
}

void ExchangeFileTest::importWithoutDataFolder()
{
    // The stamp is then a name in the working folder.
    QTemporaryDir work;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));
    writeFile(u"design.tkd"_s, fixture(u"design.tkd"_s));
    VoucherDesign design;
    const bool imported = importDesign(u"design.tkd"_s, design, QString(), Now);
    QDir::setCurrent(previous);
    QVERIFY(imported);
    QCOMPARE(design, sharedDesign(Stamp, 1, 2));
    QCOMPARE(readFile(work.filePath(Stamp + u"02.bmp"_s)), bitmapB());
}

void ExchangeFileTest::importTooLongForASource()
{
    // A stored path that a graphic's 199 units cannot hold would be cut and
    // name some other file: the import fails instead, storing nothing.
    TestFolder folder;
    // The folder, a slash, twelve digits and "01.bmp": 200 units.
    const QString deep = folder.dataFolder() + u'/' + QString(180 - folder.dataFolder().size(), u'd');
    QVERIFY(QDir().mkpath(deep));
    folder.writeDataFile(u"design.tkd"_s, fixture(u"design.tkd"_s));
    VoucherDesign design;
    QVERIFY(!importDesign(folder.dataFolder() + u"/design.tkd"_s, design, deep, Now));
    QVERIFY(QDir(deep).isEmpty());

    // One unit shorter fits exactly.
    const QString fits = deep.chopped(1);
    QVERIFY(QDir().mkpath(fits));
    VoucherDesign fitting;
    QVERIFY(importDesign(folder.dataFolder() + u"/design.tkd"_s, fitting, fits, Now));
    QCOMPARE(fitting.Graphics[0].Source.size(), 199);
    QCOMPARE(readFile(fitting.Graphics[0].Source), bitmapA());
}

void ExchangeFileTest::importMissingFile()
{
    TestFolder folder;
    VoucherDesign design;
    QVERIFY(!importDesign(folder.dataFolder() + u"/none.tkd"_s, design, folder.dataFolder(), Now));
    QVERIFY(design == VoucherDesign{});
}

void ExchangeFileTest::exportEmbedsReadableImagesOnly()
{
    TestFolder folder;
    folder.writeDataFile(u"logo.bmp"_s, bitmapA());
    const QString logo = folder.dataFolder() + u"/logo.bmp"_s;
    QDir().mkpath(folder.dataFolder() + u"/folder.bmp"_s);

    VoucherDesign d = emptyDesign();
    d.Graphics = {
        {logo, DesignGraphic::Image, 0, 0, 1, 2, 3, 4, 1, 0},            // embedded
        {u"<Padrão>"_s, DesignGraphic::Image},                           // built in
        {u"<PADRÃO>"_s, DesignGraphic::Image},                           // built in
        {folder.dataFolder() + u"/missing.bmp"_s, DesignGraphic::Image}, // missing
        {folder.dataFolder() + u"/folder.bmp"_s, DesignGraphic::Image},  // no file
        {logo, DesignGraphic::Line},                                     // no image
        {logo, DesignGraphic::Image, 20},                                // kind word not 0
        {logo, DesignGraphic::Barcode, 58},                              // no image
    };
    d.Texts = {DesignText{u"t"_s, u"Arial"_s}};
    const QString path = folder.path() + u"/out.tkd"_s;
    QVERIFY(exportDesign(path, d));

    QByteArray expected = headerRecord(d) + graphicRecord(d.Graphics[0]) + bitmapRecord(bitmapA());
    for (qsizetype i = 1; i < d.Graphics.size(); ++i)
        expected += graphicRecord(d.Graphics[i]);
    expected += textRecord(d.Texts[0]);
    QCOMPARE(readFile(path), expected);
}

void ExchangeFileTest::exportThenImport()
{
    TestFolder folder;
    folder.writeDataFile(u"a.bmp"_s, bitmapA());
    folder.writeDataFile(u"b.bmp"_s, bitmapB());
    VoucherDesign d = cafeDesign();
    d.Graphics[0].Source = folder.dataFolder() + u"/a.bmp"_s;
    d.Graphics.append({folder.dataFolder() + u"/b.bmp"_s, DesignGraphic::Image, 0, 0, 7, 8, 9, 10, 1, 0});
    const QString path = folder.path() + u"/café.tkd"_s;
    QVERIFY(exportDesign(path, d));

    TestFolder other;
    VoucherDesign imported;
    QVERIFY(importDesign(path, imported, other.dataFolder(), Now));
    const QString stamp = other.dataFolder() + u'/' + Stamp;
    VoucherDesign expected = d;
    expected.Graphics[0].Source = stamp + u"01.bmp"_s;
    expected.Graphics[3].Source = stamp + u"02.bmp"_s;
    QCOMPARE(imported, expected);
    QCOMPARE(readFile(stamp + u"01.bmp"_s), bitmapA());
    QCOMPARE(readFile(stamp + u"02.bmp"_s), bitmapB());
}

void ExchangeFileTest::exportFailure()
{
    TestFolder folder;
    QVERIFY(!exportDesign(folder.path() + u"/no such folder/x.tkd"_s, cafeDesign()));
    QDir().mkpath(folder.path() + u"/taken.tkd"_s);
    QVERIFY(!exportDesign(folder.path() + u"/taken.tkd"_s, cafeDesign()));
}

void ExchangeFileTest::uniqueName_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    const QStringList some = {u"Padrão"_s, u"Café"_s, u"Café (1)"_s, u"Hotel (1)"_s};
    QTest::addRow("free") << some << u"Hotel"_s << u"Hotel"_s;
    QTest::addRow("taken") << some << u"Padrão"_s << u"Padrão (1)"_s;
    QTest::addRow("taken in other case") << some << u"PADRÃO"_s << u"PADRÃO (1)"_s;
    QTest::addRow("first number taken") << some << u"café"_s << u"café (2)"_s;
    QStringList many = {u"Novo"_s};
    for (int i = 1; i <= 20; ++i)
        many.append(QString::asprintf("Novo (%d)", i));
    // Two designs of one name could not be told apart.
    QTest::addRow("beyond twenty") << many << u"Novo"_s << u"Novo (21)"_s;
    const QString long99 = QString(99, u'x');
    QTest::addRow("shortened to fit") << QStringList{long99} << long99 << QString(95, u'x') + u" (1)"_s;
}

void ExchangeFileTest::uniqueName()
{
    QFETCH(QStringList, names);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    DesignList designs;
    for (const QString &n : names) {
        designs.append(std::make_shared<VoucherDesign>());
        designs.back()->Name = n;
    }
    QCOMPARE(uniqueDesignName(designs, name), expected);
}

void ExchangeFileTest::shareCommands()
{
    TestFolder folder;
    ScriptedInteraction interaction;
    DesignList designs = listOf({makeDefaultDesign(), sharedDesign(QString(), 1, 2)});
    folder.writeDataFile(u"design.tkd"_s, fixture(u"design.tkd"_s));
    folder.writeDataFile(u"broken.tkd"_s, fixture(u"design.tkd"_s).mid(428));

    const VoucherDesign *imported = importSharedDesign(folder.dataFolder() + u"/design.tkd"_s, designs,
                                                       folder.dataFolder(), Now, interaction);
    QVERIFY(imported);
    QCOMPARE(designs.size(), 3);
    QCOMPARE(designs.back().get(), imported);
    QCOMPARE(imported->Name, u"Compartilhado (1)"_s);
    QVERIFY(interaction.events.isEmpty());

    QVERIFY(!importSharedDesign(folder.dataFolder() + u"/broken.tkd"_s, designs, folder.dataFolder(), Now,
                                interaction));
    QCOMPARE(designs.size(), 3);
    QVERIFY(shareDesign(folder.path() + u"/out.tkd"_s, *designs[0], interaction));
    QVERIFY(!shareDesign(folder.path() + u"/none/out.tkd"_s, *designs[0], interaction));
    QCOMPARE(interaction.texts(),
             (QStringList{
                 u"Não foi possível importar o design do voucher. Formato de arquivo desconhecido."_s,
                 u"Não foi possível exportar o design do voucher. Um erro ocorreu ao salvar o arquivo."_s}));
    for (const auto &event : interaction.events)
        QCOMPARE(event.icon, MessageIcon::Warning);
}

WIFITICKETER_TEST(ExchangeFileTest)
#include "exchangefiletest.moc"
