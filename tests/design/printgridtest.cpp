#include "testmain.h"

#include "design/printgrid.h"
#include "design/voucherdesign.h"
#include "design/vouchersheets.h"
#include "generation/voucherrecord.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

VoucherDesign card(bool fillPage, qint32 copies = 1)
{
    VoucherDesign design;
    design.Width = 840; // 84 × 54 mm with a 10 mm margin
    design.Height = 540;
    design.Margin = 100;
    design.FillPage = fillPage;
    design.Copies = copies;
    return design;
}

QList<const VoucherRecord *> pointers(const BatchList &batch)
{
    QList<const VoucherRecord *> out;
    for (const VoucherRecord &record : batch)
        out.append(&record);
    return out;
}

BatchList batchOf(int count)
{
    BatchList batch;
    for (int i = 0; i < count; ++i)
        batch.emplace_back().Serial = quint32(i + 1);
    return batch;
}

} // namespace

class PrintGridTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void grids_data();
    void grids();
    void firstRectangle();
    void sheetFlow_data();
    void sheetFlow();
    void copiesComeTogether();
    void testPrintFillsOneSheet_data();
    void testPrintFillsOneSheet();
    void printableArea();
    void sheetsToThePixel();
};

void PrintGridTest::grids_data()
{
    QTest::addColumn<qint32>("width");
    QTest::addColumn<qint32>("height");
    QTest::addColumn<qint32>("margin");
    QTest::addColumn<bool>("fillPage");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<qint32>("cellWidth");
    QTest::addColumn<qint32>("cellHeight");
    // The printable area is 200 × 287 mm throughout.
    QTest::newRow("84 × 54 + 10 fills 2 × 4") << 840 << 540 << 100 << true << 2 << 4 << 1000 << 717;
    QTest::newRow("one a sheet without filling") << 840 << 540 << 100 << false << 1 << 1 << 2000 << 2870;
    QTest::newRow("larger than the area") << 2500 << 3000 << 0 << true << 1 << 1 << 2000 << 2870;
    QTest::newRow("no width: one column") << 0 << 540 << 0 << true << 1 << 5 << 2000 << 574;
    QTest::newRow("negative size counts as its size")
        << -840 << -540 << -100 << true << 2 << 4 << 1000 << 717;
    QTest::newRow("small vouchers") << 400 << 200 << 0 << true << 5 << 14 << 400 << 205;
}

void PrintGridTest::grids()
{
    QFETCH(qint32, width);
    QFETCH(qint32, height);
    QFETCH(qint32, margin);
    QFETCH(bool, fillPage);
    VoucherDesign design;
    design.Width = width;
    design.Height = height;
    design.Margin = margin;
    design.FillPage = fillPage;
    const PrintGrid grid = printGrid(design, 2000, 2870);
    QTEST(grid.columns, "columns");
    QTEST(grid.rows, "rows");
    QTEST(grid.cellWidth, "cellWidth");
    QTEST(grid.cellHeight, "cellHeight");
}

void PrintGridTest::firstRectangle()
{
    const VoucherDesign design = card(true);
    const PrintGrid grid = printGrid(design, 2000, 2870);
    QCOMPARE(voucherRectangle(grid, design, 0, 0), (VoucherRect{80, 88, 920, 628}));
    QCOMPARE(voucherRectangle(grid, design, 1, 3), (VoucherRect{1080, 2239, 1920, 2779}));
    // Larger than the area: centred, so it starts before the printable edge.
    VoucherDesign large = design;
    large.Width = 2500;
    large.Height = 3000;
    QCOMPARE(voucherRectangle(printGrid(large, 2000, 2870), large, 0, 0),
             (VoucherRect{-250, -65, 2250, 2935}));
}

void PrintGridTest::sheetFlow_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("fillPage");
    QTest::addColumn<QList<int>>("sheets");
    QTest::newRow("9 on a 2 × 4 grid") << 9 << true << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 1};
    QTest::newRow("exactly 8: one sheet") << 8 << true << QList<int>{0, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("without filling: a sheet each") << 3 << false << QList<int>{0, 1, 2};
    QTest::newRow("nothing") << 0 << true << QList<int>{};
}

void PrintGridTest::sheetFlow()
{
    QFETCH(int, count);
    QFETCH(bool, fillPage);
    QFETCH(QList<int>, sheets);
    const VoucherDesign design = card(fillPage);
    const BatchList batch = batchOf(count);
    const QList<PlacedVoucher> placed =
        layOutVouchers(design, printGrid(design, 2000, 2870), pointers(batch), false);
    QList<int> got;
    for (const PlacedVoucher &p : placed)
        got << p.sheet;
    QCOMPARE(got, sheets);
    if (fillPage && count == 9) {
        // Left to right, then top to bottom; the ninth starts the second sheet.
        QCOMPARE(placed[1].rect, (VoucherRect{1080, 88, 1920, 628}));
        QCOMPARE(placed[2].rect, (VoucherRect{80, 805, 920, 1345}));
        QCOMPARE(placed[8].rect, placed[0].rect);
        QCOMPARE(placed[8].voucher->Serial, 9u);
    }
}

void PrintGridTest::copiesComeTogether()
{
    const VoucherDesign design = card(true, 3);
    const BatchList batch = batchOf(2);
    const QList<PlacedVoucher> placed =
        layOutVouchers(design, printGrid(design, 2000, 2870), pointers(batch), false);
    QStringList order;
    for (const PlacedVoucher &p : placed)
        order << QString::number(p.voucher->Serial);
    QCOMPARE(order, (QStringList{u"1"_s, u"1"_s, u"1"_s, u"2"_s, u"2"_s, u"2"_s}));
    QCOMPARE(placed[3].rect, (VoucherRect{1080, 805, 1920, 1345}));

    for (auto [stored, expected] :
         {std::pair{0, 1}, std::pair{-5, 1}, std::pair{300, 255}, std::pair{7, 7}}) {
        VoucherDesign d = design;
        d.Copies = stored;
        QCOMPARE(printCopies(d), expected);
    }
}

void PrintGridTest::testPrintFillsOneSheet_data()
{
    QTest::addColumn<bool>("fillPage");
    QTest::addColumn<int>("samples");
    QTest::newRow("filled sheet") << true << 8;
    QTest::newRow("one sample") << false << 1;
}

void PrintGridTest::testPrintFillsOneSheet()
{
    QFETCH(bool, fillPage);
    const VoucherDesign design = card(fillPage, 3); // copies do not matter
    const QList<PlacedVoucher> placed = layOutVouchers(design, printGrid(design, 2000, 2870), {}, true);
    QTEST(int(placed.size()), "samples");
    for (const PlacedVoucher &p : placed) {
        QCOMPARE(p.sheet, 0);
        QVERIFY(!p.voucher);
    }
}

void PrintGridTest::printableArea()
{
    // 200 mm at 600 dpi is 4724 pixels, which measures 199.9 mm back.
    QCOMPARE(printableTenths(4724, 600), 1999);
    QCOMPARE(printableTenths(4725, 600), 2000);
    QCOMPARE(printableTenths(2362, 300), 1999);
}

// Nine vouchers of a design that is a bare box drawn on 100-dpi sheets of the
// printable area: the box corners land where the grid puts them, and the ninth
// voucher is alone on the second sheet.
void PrintGridTest::sheetsToThePixel()
{
    VoucherDesign design = card(true);
    DesignGraphic box;
    box.Kind = DesignGraphic::Box;
    box.Width = 840;
    box.Height = 540;
    box.Attributes = 1;
    design.Graphics.append(box);
    const DeviceResolution resolution{100, 100};
    const int sheetWidth = toDeviceX(2000, resolution);
    const int sheetHeight = toDeviceY(2870, resolution);
    const auto blankSheet = [&] {
        QImage sheet(sheetWidth, sheetHeight, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        return sheet;
    };
    QList<QImage> sheets{blankSheet()};
    QPainter painter(&sheets.last());
    const BatchList batch = batchOf(9);
    RenderJob job = startRenderJob(design, resolution);
    drawVoucherSheets(
        painter,
        [&] {
            painter.end();
            sheets.append(blankSheet());
            return painter.begin(&sheets.last());
        },
        layOutVouchers(design, printGrid(design, 2000, 2870), pointers(batch), false), design, job);
    painter.end();
    QCOMPARE(sheets.size(), 2);

    const auto dark = [](const QImage &sheet, int x, int y) { return qGray(sheet.pixel(x, y)) < 128; };
    // The first voucher: 8 mm from the left, 8.8 mm from the top.
    const int left = toDeviceX(80, resolution); // 31.496 rounds to 31
    const int top = toDeviceY(88, resolution);  // 34.6 rounds to 35
    QCOMPARE(left, 31);
    QCOMPARE(top, 35);
    QVERIFY(dark(sheets[0], left, top));
    QVERIFY(!dark(sheets[0], left - 1, top - 1));
    QVERIFY(dark(sheets[0], toDeviceX(920, resolution), toDeviceY(628, resolution)));
    // The eighth voucher, bottom right of the first sheet.
    QVERIFY(dark(sheets[0], toDeviceX(1080, resolution), toDeviceY(2239, resolution)));
    // The second sheet holds the ninth voucher, top left, and nothing else.
    QVERIFY(dark(sheets[1], left, top));
    QVERIFY(!dark(sheets[1], toDeviceX(1080, resolution), toDeviceY(88, resolution)));
    QVERIFY(!dark(sheets[1], toDeviceX(80, resolution), toDeviceY(805, resolution)));
}

WIFITICKETER_TEST(PrintGridTest)
#include "printgridtest.moc"
