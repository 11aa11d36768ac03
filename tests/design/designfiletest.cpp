#include "designlists.h"
#include "designtestdata.h"
#include "filebytes.h"
#include "filesizelimit.h"
#include "readfrombytes.h"
#include "recordbytes.h"
#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/binaryfields.h"
#include "design/designfile.h"
#include "design/designrecords.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Where the second design of Voucher.bin starts: after a header, three
// graphics and two texts.
constexpr qsizetype SecondDesign = 428 + 3 * 436 + 2 * 432;
constexpr qsizetype SecondGraphic = 428 + 436;

// What fills the records made here: content no reader may look at.
constexpr char Filler = '\x5A';

VoucherDesign withoutElements(VoucherDesign d)
{
    d.Graphics.clear();
    d.Texts.clear();
    return d;
}

// The designs Voucher-first.bin converts to.
QList<VoucherDesign> firstGenerationDesigns()
{
    VoucherDesign first;
    first.Name = u"Primeiro"_s;
    first.Width = 800;
    first.Height = 500;
    first.Margin = 20;
    first.Graphics = {{u"<Padrão>"_s, DesignGraphic::Image, 0, 0, 0, 0, 800, 500, 1, 0}};
    first.Texts = {
        // Font 1: Verdana 20, bold; 20 * 18 / 20 = 18.
        {u"Olá ${user}"_s, u"Verdana"_s, 18, true, false, 0x800000, 2, 0, 400, 50},
        // Font 7: Tahoma 15, italic; 15 * 18 / 20 = 13.5, rounded to 14.
        {u"${password}"_s, u"Tahoma"_s, 14, false, true, 0, 1, 1, 700, 200},
        // Font 99 does not exist.
        {u"sem fonte"_s, u"Arial"_s, 20, false, false, 0x00FF00, 0, 0, 10, 10},
    };
    VoucherDesign second;
    second.Name = u"Segundo"_s;
    second.Width = 840;
    second.Height = 540;
    second.Margin = 100;
    second.Graphics = {{u"c:\\fundos\\cartão.bmp"_s, DesignGraphic::Image, 0, 0, 0, 0, 840, 540, 1, 0}};
    // Font 1 belongs to the first design.
    second.Texts = {{u"${profile}"_s, u"Arial"_s, 20, false, false, 0, 0, 0, 100, 100}};
    return {first, second};
}

} // namespace

class DesignFileTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixture();
    void olderGeneration();
    void firstGeneration();
    void firstGenerationFontSizes_data();
    void firstGenerationFontSizes();
    void firstGenerationFollowsOthers();
    void damaged_data();
    void damaged();
    void fullFieldsLoseTheirLastUnit();
    void roundTripKeepsEveryField();
    void writerCuts();
    void loadFallsBackToDefault_data();
    void loadFallsBackToDefault();
    void loadAppends();
    void saveReplaces();
    void saveFailureIsReported();
    void failedWriteKeepsOldFile();
};

void DesignFileTest::fixture()
{
    const QList<VoucherDesign> expected = {cafeDesign(), emptyDesign()};
    QCOMPARE(valuesOf(designsOf(::fixture(u"Voucher.bin"_s))), expected);
    QCOMPARE(serializeDesigns(listOf(expected)), ::fixture(u"Voucher.bin"_s));
    // Files of every generation read whole.
    for (const QString &name : {u"Voucher.bin"_s, u"Voucher-old.bin"_s, u"Voucher-first.bin"_s})
        QVERIFY2(readsWhole(::fixture(name), readDesigns), qPrintable(name));
}

void DesignFileTest::olderGeneration()
{
    const DesignList read = designsOf(::fixture(u"Voucher-old.bin"_s));
    QCOMPARE(valuesOf(read), QList<VoucherDesign>{oldDesign()});
    // Written back in today's records.
    const QByteArray saved = serializeDesigns(read);
    QCOMPARE(saved.size(), 428 + 2 * 436 + 432);
    QCOMPARE(getU32(saved, 4), 31u);
    QCOMPARE(getU32(saved, 428 + 4), 32u);
    QCOMPARE(getU32(saved, 428 + 2 * 436 + 4), 33u);
    QCOMPARE(valuesOf(designsOf(saved)), QList<VoucherDesign>{oldDesign()});
}

void DesignFileTest::firstGeneration()
{
    QCOMPARE(valuesOf(designsOf(::fixture(u"Voucher-first.bin"_s))), firstGenerationDesigns());
}

void DesignFileTest::firstGenerationFontSizes_data()
{
    QTest::addColumn<int>("oldSize");
    QTest::addColumn<int>("size");
    QTest::addRow("20") << 20 << 18;
    QTest::addRow("15 rounds 13.5 up") << 15 << 14;
    QTest::addRow("21 rounds 18.9 up") << 21 << 19;
    QTest::addRow("12 rounds 10.8 up") << 12 << 11;
    QTest::addRow("11 rounds 9.9 up") << 11 << 10;
    QTest::addRow("16 rounds 14.4 down") << 16 << 14;
    QTest::addRow("0") << 0 << 0;
    QTest::addRow("-15 rounds away from zero") << -15 << -14;
}

void DesignFileTest::firstGenerationFontSizes()
{
    QFETCH(int, oldSize);
    QFETCH(int, size);
    // One type-1 design with font 3 of the size, and a text in it.
    QByteArray bytes = ::fixture(u"Voucher-first.bin"_s).left(324 + 120 + 128);
    putU32(bytes, 324 + 112, quint32(oldSize));
    const DesignList read = designsOf(bytes);
    QCOMPARE(read.size(), 1);
    QCOMPARE(read[0]->Texts.value(0).FontSize, size);
}

void DesignFileTest::firstGenerationFollowsOthers()
{
    // Designs of the first generation are converted after the file, whatever
    // their place in it.
    const QByteArray bytes = ::fixture(u"Voucher-first.bin"_s) + ::fixture(u"Voucher.bin"_s);
    QCOMPARE(valuesOf(designsOf(bytes)),
             QList<VoucherDesign>({cafeDesign(), emptyDesign()}) + firstGenerationDesigns());
}

void DesignFileTest::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<VoucherDesign>>("expected");
    QTest::addColumn<bool>("whole"); // nothing was skipped but on purpose
    const QByteArray two = ::fixture(u"Voucher.bin"_s);
    const QByteArray first = ::fixture(u"Voucher-first.bin"_s);
    VoucherDesign cafe = cafeDesign();
    VoucherDesign cafeWithOneGraphic = withoutElements(cafe);
    cafeWithOneGraphic.Graphics.append(cafe.Graphics[0]);
    VoucherDesign oneCopy = withoutElements(cafe);
    oneCopy.Copies = 1;

    QTest::addRow("empty") << QByteArray() << QList<VoucherDesign>{} << true;
    QTest::addRow("a header alone") << two.left(428) << QList<VoucherDesign>{withoutElements(cafe)} << true;
    QTest::addRow("copies byte 0 reads as 1")
        << withU32(two.left(428), 20, 0) << QList<VoucherDesign>{oneCopy} << true;
    QTest::addRow("size 2000 stops") << withU32(two, SecondDesign, 2000) << QList<VoucherDesign>{cafe}
                                     << false;
    QTest::addRow("size 1999 of an unknown type is skipped")
        << two.left(SecondDesign) + recordBytes(1999, 40, Filler) + two.mid(SecondDesign)
        << QList<VoucherDesign>{cafe, emptyDesign()} << true;
    QTest::addRow("graphic of text size stops")
        << withU32(two, SecondGraphic, 432) << QList<VoucherDesign>{cafeWithOneGraphic} << false;
    QTest::addRow("header of wrong size stops")
        << withU32(two, SecondDesign, 436) << QList<VoucherDesign>{cafe} << false;
    QTest::addRow("graphic before any header stops")
        << two.mid(428, 436) + two << QList<VoucherDesign>{} << false;
    QTest::addRow("text before any header stops")
        << two.mid(428 + 3 * 436, 432) + two << QList<VoucherDesign>{} << false;
    QTest::addRow("font before any design stops")
        << first.mid(324, 120) + two << QList<VoucherDesign>{} << false;
    QTest::addRow("first-generation text before any design stops")
        << first.mid(324 + 120, 128) + two << QList<VoucherDesign>{} << false;
    QTest::addRow("embedded bitmap record skipped")
        << two.left(SecondDesign) + recordBytes(12, 22, Filler) + two.mid(SecondDesign)
        << QList<VoucherDesign>{cafe, emptyDesign()} << true;
    QTest::addRow("size too small for a header stops")
        << two.left(SecondDesign) + withU32(QByteArray(4, '\0'), 0, 4) + two.mid(SecondDesign)
        << QList<VoucherDesign>{cafe} << false;
    QTest::addRow("cut in a header") << two.left(SecondDesign + 100) << QList<VoucherDesign>{cafe} << false;
    QTest::addRow("cut in a size field") << two.left(SecondDesign + 2) << QList<VoucherDesign>{cafe} << false;
    VoucherDesign secondWithoutText = firstGenerationDesigns()[1];
    secondWithoutText.Texts.clear();
    QTest::addRow("first generation cut in its last text")
        << first.chopped(10) << QList<VoucherDesign>{firstGenerationDesigns()[0], secondWithoutText} << false;
}

void DesignFileTest::damaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<VoucherDesign>, expected);
    QFETCH(bool, whole);
    QCOMPARE(valuesOf(designsOf(bytes)), expected);
    QCOMPARE(readsWhole(bytes, readDesigns), whole);
}

void DesignFileTest::fullFieldsLoseTheirLastUnit()
{
    // Fields filled to their last unit, without a terminator: the last unit is
    // not part of the text.
    VoucherDesign d;
    d.Graphics.append(DesignGraphic{});
    d.Texts.append(DesignText{});
    QByteArray bytes = designRecords(d);
    const auto fill = [&](qsizetype offset, qsizetype units, char16_t unit) {
        for (qsizetype i = 0; i < units; ++i)
            bytes[offset + 2 * i] = char(unit);
    };
    fill(24, 100, u'n');              // name
    fill(224, 100, u'p');             // printer
    fill(428 + 8, 200, u's');         // source
    fill(428 + 436 + 8, 100, u't');   // text
    fill(428 + 436 + 208, 100, u'f'); // font face
    const DesignList read = designsOf(bytes);
    QCOMPARE(read.size(), 1);
    QCOMPARE(read[0]->Name, QString(99, u'n'));
    QCOMPARE(read[0]->Printer, QString(99, u'p'));
    QCOMPARE(read[0]->Graphics.value(0).Source, QString(199, u's'));
    QCOMPARE(read[0]->Texts.value(0).Text, QString(99, u't'));
    QCOMPARE(read[0]->Texts.value(0).FontFace, QString(99, u'f'));

    // An 8-bit field of the older records likewise.
    QByteArray old = ::fixture(u"Voucher-old.bin"_s);
    old.replace(8 + 16, 100, QByteArray(100, 'o'));
    QCOMPARE(designsOf(old).value(0)->Name, QString(99, u'o'));
}

void DesignFileTest::roundTripKeepsEveryField()
{
    VoucherDesign d;
    d.Name = QString(99, u'N');
    d.Width = std::numeric_limits<qint32>::min();
    d.Height = std::numeric_limits<qint32>::max();
    d.Margin = -1;
    d.Copies = 255;
    d.Printer = u"\\\\servidor\\Térmica 😀"_s;
    d.FillPage = false;
    d.Graphics = {
        {QString(199, u'S'), 0xFFFF, 0xFF, 0xFF, -1, std::numeric_limits<qint32>::min(), 0x7FFFFFFF, -2,
         0xFFFFFFFF, 0xFFFFFFFF},
        {u"${serial}"_s, DesignGraphic::Barcode, 58, 3, 1, 2, 3, 4, 0x07ABCDEF, 0x00FFFFFF},
        {QString(), DesignGraphic::Box, 0, 0, 5, 6, 7, 8, 3, 0x123456},
    };
    d.Texts = {
        {QString(99, u'T'), QString(99, u'F'), std::numeric_limits<qint32>::min(), true, true, 0xFFFFFFFF,
         0xFF, 0xFF, -1, std::numeric_limits<qint32>::max()},
        {QString(), QString(), 0, false, false, 0, 0, 0, 0, 0},
    };
    const DesignList designs = listOf({d, makeDefaultDesign(), VoucherDesign{}});
    const QByteArray bytes = serializeDesigns(designs);
    QCOMPARE(bytes.size(), 3 * 428 + 4 * 436 + 10 * 432);
    const DesignList read = designsOf(bytes);
    QCOMPARE(valuesOf(read), valuesOf(designs));
    QCOMPARE(serializeDesigns(read), bytes);
}

void DesignFileTest::writerCuts()
{
    VoucherDesign d;
    d.Name = QString(150, u'n');
    d.Printer = QString(98, u'p') + u"😀"_s; // a pair must not be cut in half
    d.Copies = 300;
    d.Graphics.append({QString(250, u's')});
    d.Texts.append({QString(120, u't'), QString(100, u'f')});
    VoucherDesign zero;
    zero.Copies = 0;
    VoucherDesign negative;
    negative.Copies = -7;
    const DesignList read = designsOf(serializeDesigns(listOf({d, zero, negative})));
    QCOMPARE(read.size(), 3);
    QCOMPARE(read[0]->Name, QString(99, u'n'));
    QCOMPARE(read[0]->Printer, QString(98, u'p'));
    // More copies than a byte holds are kept at the most it holds, not
    // wrapped round to 44.
    QCOMPARE(read[0]->Copies, 255);
    QCOMPARE(read[0]->Graphics.value(0).Source, QString(199, u's'));
    QCOMPARE(read[0]->Texts.value(0).Text, QString(99, u't'));
    QCOMPARE(read[0]->Texts.value(0).FontFace, QString(99, u'f'));
    QCOMPARE(read[1]->Copies, 1);
    QCOMPARE(read[2]->Copies, 1);
}

// A file without designs gives the built-in one; a damaged file is told
// apart, so that nothing saves over it.
void DesignFileTest::loadFallsBackToDefault_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("state"); // ListFileState
    QTest::addRow("empty file") << QByteArray() << int(ListFileState::Absent);
    QTest::addRow("damaged from the start")
        << withU32(::fixture(u"Voucher.bin"_s), 0, 5000) << int(ListFileState::Damaged);
    QTest::addRow("elements without a header")
        << ::fixture(u"Voucher.bin"_s).mid(428) << int(ListFileState::Damaged);
    QTest::addRow("only records of unknown types")
        << recordBytes(20, 7, Filler) + recordBytes(30, 8, Filler) << int(ListFileState::Whole);
}

void DesignFileTest::loadFallsBackToDefault()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, state);
    TestFolder folder;
    folder.writeDataFile(u"Voucher.bin"_s, bytes);
    const VoucherDesign defaultDesign = makeDefaultDesign();
    DesignList designs;
    QCOMPARE(int(loadDesigns(folder.dataFolder(), defaultDesign, designs)), state);
    QCOMPARE(valuesOf(designs), QList<VoucherDesign>{defaultDesign});
    QCOMPARE(folder.readDataFile(u"Voucher.bin"_s), bytes);
}

void DesignFileTest::loadAppends()
{
    TestFolder folder;
    VoucherDesign defaultDesign = makeDefaultDesign();
    defaultDesign.Name = u"template"_s; // the copy is of the design given
    DesignList designs;
    // No data folder, no file, or a folder where the file should be.
    loadDesigns(QString(), defaultDesign, designs);
    loadDesigns(folder.dataFolder(), defaultDesign, designs);
    QDir().mkpath(folder.dataFolder() + u"/Voucher.bin"_s);
    loadDesigns(folder.dataFolder(), defaultDesign, designs);
    QCOMPARE(valuesOf(designs), QList<VoucherDesign>(3, defaultDesign));
    QVERIFY(designs[0] != designs[1]);

    TestFolder other;
    other.copyFixture(u"Voucher.bin"_s, u"Voucher.bin"_s);
    loadDesigns(other.dataFolder(), defaultDesign, designs);
    const QList<VoucherDesign> expected =
        QList<VoucherDesign>(3, defaultDesign) + QList{cafeDesign(), emptyDesign()};
    QCOMPARE(valuesOf(designs), expected);
}

void DesignFileTest::saveReplaces()
{
    TestFolder folder;
    ScriptedInteraction interaction;
    // The folder is made when missing.
    QVERIFY(saveDesigns(folder.dataFolder(), listOf({cafeDesign(), emptyDesign()}), interaction));
    QCOMPARE(folder.readDataFile(u"Voucher.bin"_s), ::fixture(u"Voucher.bin"_s));
    QVERIFY(saveDesigns(folder.dataFolder(), listOf({emptyDesign()}), interaction));
    QCOMPARE(folder.readDataFile(u"Voucher.bin"_s), ::fixture(u"Voucher.bin"_s).mid(SecondDesign));
    QCOMPARE(QDir(folder.dataFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{u"Voucher.bin"_s});

    DesignList loaded;
    loadDesigns(folder.dataFolder(), makeDefaultDesign(), loaded);
    QCOMPARE(valuesOf(loaded), QList<VoucherDesign>{emptyDesign()});
    QVERIFY(interaction.events.isEmpty());
}

void DesignFileTest::saveFailureIsReported()
{
    // A file stands where the data folder should be.
    TestFolder folder;
    QDir().mkpath(folder.path());
    QVERIFY(writeFile(folder.dataFolder(), QByteArray()));
    ScriptedInteraction interaction;
    QVERIFY(!saveDesigns(folder.dataFolder(), listOf({cafeDesign()}), interaction));

    // Voucher.bin is a folder and cannot be replaced.
    TestFolder other;
    QDir().mkpath(other.dataFolder() + u"/Voucher.bin/inside"_s);
    QVERIFY(!saveDesigns(other.dataFolder(), listOf({cafeDesign()}), interaction));
    QVERIFY(QDir(other.dataFolder() + u"/Voucher.bin/inside"_s).exists());

    const QString text = u"Ocorreu um erro inesperado ao salvar as definições de voucher."_s;
    QCOMPARE(interaction.texts(), QStringList({text, text}));
    for (const auto &event : interaction.events)
        QCOMPARE(event.icon, MessageIcon::Information);
}

void DesignFileTest::failedWriteKeepsOldFile()
{
    TestFolder folder;
    folder.copyFixture(u"Voucher.bin"_s, u"Voucher.bin"_s);
    ScriptedInteraction interaction;

    // A disk that fills up half way: no file may grow beyond 2000 bytes.
    bool saved = true;
    {
        const FileSizeLimit limit(2000);
        QVERIFY(limit.isSet());
        saved = saveDesigns(folder.dataFolder(), listOf({makeDefaultDesign(), cafeDesign()}), interaction);
    }

    QVERIFY(!saved);
    QCOMPARE(interaction.texts(),
             QStringList{u"Ocorreu um erro inesperado ao salvar as definições de voucher."_s});
    QCOMPARE(folder.readDataFile(u"Voucher.bin"_s), ::fixture(u"Voucher.bin"_s));
    QCOMPARE(QDir(folder.dataFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{u"Voucher.bin"_s});
}

WIFITICKETER_TEST(DesignFileTest)
#include "designfiletest.moc"
