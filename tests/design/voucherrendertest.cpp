#include "filebytes.h"
#include "testcanvas.h"
#include "testmain.h"

#include "design/barcodeelement.h"
#include "design/voucherrender.h"
#include "generation/voucherrecord.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// At 254 dots per inch a tenth of a millimetre is one pixel.
constexpr int PixelPerTenth = 254;

// Full blocks: their ink fills the text's cell from its top edge to its bottom
// and from the first advance to the last, so the ink shows where the text went.
QString blocks()
{
    return u"\u2588\u2588"_s;
}

DesignText text(const QString &content, qint32 x, qint32 y, quint8 align = 0, quint8 rotation = 0)
{
    DesignText t;
    t.Text = content;
    t.FontFace = u"DejaVu Sans"_s;
    t.FontSize = 40;
    t.Align = align;
    t.Rotation = rotation;
    t.X = x;
    t.Y = y;
    return t;
}

DesignGraphic graphic(quint16 kind, qint32 x, qint32 y, qint32 width, qint32 height, quint32 attributes = 0,
                      quint32 colour = 0)
{
    DesignGraphic g;
    g.Kind = kind;
    g.X = x;
    g.Y = y;
    g.Width = width;
    g.Height = height;
    g.Attributes = attributes;
    g.Colour = colour;
    return g;
}

DesignGraphic image(const QString &source, qint32 x, qint32 y, qint32 width, qint32 height)
{
    DesignGraphic g = graphic(DesignGraphic::Image, x, y, width, height);
    g.Source = source;
    return g;
}

QImage render(const VoucherDesign &design, QSize size, int dpi, const VoucherRecord *voucher = nullptr,
              const VoucherRect &rect = {})
{
    QImage canvas = whiteCanvas(size, dpi);
    RenderJob job = startRenderJob(design, resolutionOf(canvas));
    QPainter painter(&canvas);
    renderVoucher(painter, voucher, rect, design, job);
    painter.end();
    return canvas;
}

// A bitmap of four coloured quarters: red, green / blue, yellow.
bool writeQuarters(const QString &path)
{
    QImage quarters(2, 2, QImage::Format_RGB32);
    quarters.setPixel(0, 0, qRgb(255, 0, 0));
    quarters.setPixel(1, 0, qRgb(0, 255, 0));
    quarters.setPixel(0, 1, qRgb(0, 0, 255));
    quarters.setPixel(1, 1, qRgb(255, 255, 0));
    return quarters.save(path, "BMP");
}

// Where the ink of a text says its point is, for each way of aligning it.
enum class Edge
{
    Left,
    Right,
    Centre
};

int inkPoint(const QRect &ink, Edge edge)
{
    switch (edge) {
    case Edge::Left:
        return ink.left();
    case Edge::Right:
        return ink.right() + 1;
    case Edge::Centre:
        break;
    }
    return (ink.left() + ink.right() + 1) / 2;
}

} // namespace

Q_DECLARE_METATYPE(DesignText)
Q_DECLARE_METATYPE(Edge)

class VoucherRenderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mulDivRounds_data();
    void mulDivRounds();
    void toDevice_data();
    void toDevice();
    void resolutionOfImage();
    void fontSetEntries_data();
    void fontSetEntries();
    void fontParameters_data();
    void fontParameters();
    void textAlignment_data();
    void textAlignment();
    void unknownAlignmentKeepsPrevious_data();
    void unknownAlignmentKeepsPrevious();
    void eachVoucherStartsLeftAligned();
    void placementAt600Dpi_data();
    void placementAt600Dpi();
    void textRotation_data();
    void textRotation();
    void textWithoutFontUsesPainterFont();
    void emptyTextDrawsNothing_data();
    void emptyTextDrawsNothing();
    void colours_data();
    void colours();
    void lineFromCornerToCorner_data();
    void lineFromCornerToCorner();
    void penWidth_data();
    void penWidth();
    void boxOfNegativeSize_data();
    void boxOfNegativeSize();
    void imageUnderBox();
    void imageStretchedToBox_data();
    void imageStretchedToBox();
    void imageOfZeroWidth();
    void imageLoadedOncePerJob();
    void unreadableImageSkipped_data();
    void unreadableImageSkipped();
    void builtInCard();
    void barcodeAtPointUnscaled();
};

void VoucherRenderTest::mulDivRounds_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("numerator");
    QTest::addColumn<int>("denominator");
    QTest::addColumn<int>("expected");
    constexpr int Max = std::numeric_limits<int>::max();
    QTest::addRow("27 mm at 600 dpi") << 2700 << 600 << 2540 << 638;
    QTest::addRow("35 mm at 600 dpi") << 3500 << 600 << 2540 << 827;
    QTest::addRow("a third rounds down") << 7 << 1 << 3 << 2;
    QTest::addRow("two thirds round up") << 8 << 1 << 3 << 3;
    QTest::addRow("a half rounds up") << 5 << 1 << 2 << 3;
    QTest::addRow("a negative half rounds down") << -5 << 1 << 2 << -3;
    QTest::addRow("negative denominator") << 5 << 1 << -2 << -3;
    QTest::addRow("two negatives") << -5 << -1 << 2 << 3;
    QTest::addRow("product beyond 32 bits") << Max << Max << Max << Max;
    QTest::addRow("result beyond 32 bits") << Max << 2 << 1 << -1;
    QTest::addRow("zero denominator") << 100 << 600 << 0 << -1;
}

void VoucherRenderTest::mulDivRounds()
{
    QFETCH(int, number);
    QFETCH(int, numerator);
    QFETCH(int, denominator);
    QFETCH(int, expected);
    QCOMPARE(mulDiv(number, numerator, denominator), expected);
}

void VoucherRenderTest::toDevice_data()
{
    QTest::addColumn<qint32>("tenths");
    QTest::addColumn<int>("dpiX");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<int>("expectedX");
    QTest::addColumn<int>("expectedY");
    QTest::addRow("27 mm at 600 dpi") << 270 << 600 << 600 << 638 << 638;
    QTest::addRow("an inch, each axis its own") << 254 << 300 << 600 << 300 << 600;
    QTest::addRow("75 mm at 300 dpi") << 750 << 300 << 300 << 886 << 886;
    QTest::addRow("negative") << -270 << 600 << 600 << -638 << -638;
    // Ten times the length no longer fits 32 bits; no wrapped-around value.
    QTest::addRow("far beyond any page") << std::numeric_limits<qint32>::max() << 600 << 600 << -1 << -1;
}

void VoucherRenderTest::toDevice()
{
    QFETCH(qint32, tenths);
    QFETCH(int, dpiX);
    QFETCH(int, dpiY);
    QFETCH(int, expectedX);
    QFETCH(int, expectedY);
    const DeviceResolution resolution{dpiX, dpiY};
    QCOMPARE(toDeviceX(tenths, resolution), expectedX);
    QCOMPARE(toDeviceY(tenths, resolution), expectedY);
}

void VoucherRenderTest::resolutionOfImage()
{
    for (int dpi : {254, 300, 600}) {
        const DeviceResolution resolution = resolutionOf(whiteCanvas(QSize(1, 1), dpi));
        QCOMPARE(resolution.dpiX, dpi);
        QCOMPARE(resolution.dpiY, dpi);
    }
}

void VoucherRenderTest::fontSetEntries_data()
{
    QTest::addColumn<DesignText>("second");
    QTest::addColumn<int>("entries");
    const DesignText first = text(u"a"_s, 0, 0);
    DesignText t = first;
    t.Text = u"other text"_s;
    t.Colour = 0xFF;
    t.Align = 2;
    t.X = 500;
    QTest::addRow("same font, other text, colour, place") << t << 1;
    t = first;
    t.Rotation = 1;
    QTest::addRow("other rotation") << t << 2;
    t = first;
    t.FontSize = 41;
    QTest::addRow("other size") << t << 2;
    t = first;
    t.Bold = true;
    QTest::addRow("bold") << t << 2;
    t = first;
    t.Italic = true;
    QTest::addRow("italic") << t << 2;
    t = first;
    t.FontFace = u"dejavu sans"_s;
    QTest::addRow("face differing in case") << t << 2;
}

void VoucherRenderTest::fontSetEntries()
{
    QFETCH(DesignText, second);
    QFETCH(int, entries);
    VoucherDesign design;
    design.Texts = {text(u"a"_s, 0, 0), second, text(u"b"_s, 10, 10)};
    const FontSet fonts = buildFontSet(design, {300, 300});
    QCOMPARE(fonts.size(), entries);
    QCOMPARE(fonts.last().face, second.FontFace);
    QCOMPARE(fonts.last().rotation, second.Rotation);
}

void VoucherRenderTest::fontParameters_data()
{
    QTest::addColumn<qint32>("size");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<int>("pixels");
    QTest::addRow("10 pt at 300 dpi") << 20 << 300 << false << false << 42;
    QTest::addRow("20 pt bold at 600 dpi") << 40 << 600 << true << false << 167;
    QTest::addRow("7 pt italic at 254 dpi") << 14 << 254 << false << true << 25;
}

void VoucherRenderTest::fontParameters()
{
    QFETCH(qint32, size);
    QFETCH(int, dpiY);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(int, pixels);
    DesignText t = text(u"a"_s, 0, 0);
    t.FontSize = size;
    t.Bold = bold;
    t.Italic = italic;
    VoucherDesign design;
    design.Texts = {t};
    // The vertical resolution alone sizes the font.
    const FontSet fonts = buildFontSet(design, {100, dpiY});
    QCOMPARE(fonts.size(), 1);
    const QFont &font = fonts.first().font;
    QCOMPARE(font.pixelSize(), pixels);
    QCOMPARE(font.weight(), bold ? QFont::Bold : QFont::Normal);
    QCOMPARE(font.italic(), italic);
    QCOMPARE(font.family(), t.FontFace);
}

void VoucherRenderTest::textAlignment_data()
{
    QTest::addColumn<int>("align");
    QTest::addColumn<Edge>("edge");
    QTest::addRow("0 starts at 75 mm") << 0 << Edge::Left;
    QTest::addRow("1 ends at 75 mm") << 1 << Edge::Right;
    QTest::addRow("2 is centred on 75 mm") << 2 << Edge::Centre;
}

void VoucherRenderTest::textAlignment()
{
    QFETCH(int, align);
    QFETCH(Edge, edge);
    VoucherDesign design;
    design.Texts = {text(blocks(), 750, 100, quint8(align))};
    // A voucher 20 mm from the left of the page.
    const QImage page = render(design, QSize(1400, 300), 300, nullptr, {200, 0, 1040, 540});
    const QRect ink = inkBounds(page);
    QVERIFY(!ink.isEmpty());
    const int point = mulDiv(9500, 300, 2540);
    QVERIFY2(qAbs(inkPoint(ink, edge) - point) <= 1,
             qPrintable(u"ink %1..%2, point %3"_s.arg(ink.left()).arg(ink.right()).arg(point)));
    // The point is on the top edge of the text.
    QVERIFY(qAbs(ink.top() - mulDiv(1000, 300, 2540)) <= 1);
}

void VoucherRenderTest::unknownAlignmentKeepsPrevious_data()
{
    QTest::addColumn<int>("previous");
    QTest::addColumn<int>("align");
    QTest::addColumn<Edge>("edge");
    QTest::addRow("3 after right") << 1 << 3 << Edge::Right;
    QTest::addRow("255 after centre") << 2 << 255 << Edge::Centre;
    QTest::addRow("7 after left") << 0 << 7 << Edge::Left;
}

void VoucherRenderTest::unknownAlignmentKeepsPrevious()
{
    QFETCH(int, previous);
    QFETCH(int, align);
    QFETCH(Edge, edge);
    VoucherDesign design;
    design.Texts = {text(u"x"_s, 500, 20, quint8(previous)), text(blocks(), 500, 600, quint8(align))};
    const QImage page = render(design, QSize(1000, 900), PixelPerTenth);
    // Only the second text, well below the first.
    const QRect ink = inkBounds(page.copy(0, 550, 1000, 350));
    QVERIFY(qAbs(inkPoint(ink, edge) - 500) <= 1);
}

void VoucherRenderTest::eachVoucherStartsLeftAligned()
{
    // The last text of a voucher is right-aligned; the first text of the next
    // voucher has no alignment of its own.
    VoucherDesign design;
    design.Texts = {text(blocks(), 500, 20, 9), text(u"x"_s, 800, 200, 1)};
    QImage page = whiteCanvas(QSize(1000, 900), PixelPerTenth);
    RenderJob job = startRenderJob(design, resolutionOf(page));
    QPainter painter(&page);
    renderVoucher(painter, nullptr, {0, 0, 1000, 400}, design, job);
    renderVoucher(painter, nullptr, {0, 450, 1000, 850}, design, job);
    painter.end();
    const QRect first = inkBounds(page.copy(0, 0, 1000, 150));
    const QRect second = inkBounds(page.copy(0, 450, 1000, 150));
    QVERIFY(qAbs(first.left() - 500) <= 1);
    QCOMPARE(second.left(), first.left());
}

void VoucherRenderTest::placementAt600Dpi_data()
{
    QTest::addColumn<qint32>("rectLeft");
    QTest::addColumn<int>("column");
    QTest::addRow("voucher at the left edge") << 0 << 638;
    QTest::addRow("voucher 8 mm in") << 80 << 827;
}

void VoucherRenderTest::placementAt600Dpi()
{
    QFETCH(qint32, rectLeft);
    QFETCH(int, column);
    // A one-pixel line straight down at X 27 mm, and a text beside it lower down.
    VoucherDesign line;
    line.Graphics = {graphic(DesignGraphic::Line, 270, 0, 0, 50)};
    const QRect lineInk = inkBounds(render(line, QSize(1000, 300), 600, nullptr, {rectLeft, 0, 0, 0}));
    QCOMPARE(lineInk, QRect(column, 0, 1, mulDiv(500, 600, 2540)));

    VoucherDesign words;
    words.Texts = {text(blocks(), 270, 0)};
    // Small enough that the blocks' ink overhangs their advance by under a pixel.
    words.Texts.first().FontSize = 20;
    const QRect textInk = inkBounds(render(words, QSize(1200, 300), 600, nullptr, {rectLeft, 0, 0, 0}));
    QVERIFY(qAbs(textInk.left() - column) <= 1);
}

void VoucherRenderTest::textRotation_data()
{
    // The corner of the text's ink that lies at the point, and whether the text
    // runs across or up and down.
    QTest::addColumn<int>("rotation");
    QTest::addColumn<bool>("pointLeft");
    QTest::addColumn<bool>("pointTop");
    QTest::addColumn<bool>("upright");
    QTest::addRow("0") << 0 << true << true << false;
    QTest::addRow("90 counter-clockwise") << 1 << true << false << true;
    QTest::addRow("180") << 2 << false << false << false;
    QTest::addRow("270") << 3 << false << true << true;
    QTest::addRow("any other value is not turned") << 4 << true << true << false;
}

void VoucherRenderTest::textRotation()
{
    QFETCH(int, rotation);
    QFETCH(bool, pointLeft);
    QFETCH(bool, pointTop);
    QFETCH(bool, upright);
    VoucherDesign design;
    design.Texts = {text(blocks(), 400, 400, 0, quint8(rotation))};
    const QRect ink = inkBounds(render(design, QSize(800, 800), PixelPerTenth));
    QVERIFY(!ink.isEmpty());
    QVERIFY(qAbs((pointLeft ? ink.left() : ink.right() + 1) - 400) <= 1);
    QVERIFY(qAbs((pointTop ? ink.top() : ink.bottom() + 1) - 400) <= 1);
    QCOMPARE(ink.height() > ink.width(), upright);
}

void VoucherRenderTest::textWithoutFontUsesPainterFont()
{
    VoucherDesign design;
    design.Texts = {text(blocks(), 100, 100)};
    QImage page = whiteCanvas(QSize(600, 400), PixelPerTenth);
    // The job was started for a design without texts.
    RenderJob job = startRenderJob(VoucherDesign(), resolutionOf(page));
    QPainter painter(&page);
    QFont big(u"DejaVu Sans"_s);
    big.setPixelSize(150);
    painter.setFont(big);
    renderVoucher(painter, nullptr, {}, design, job);
    QCOMPARE(painter.font(), big);
    painter.end();
    // Its own font would be 71 pixels high.
    QVERIFY(inkBounds(page).height() >= 150);
}

void VoucherRenderTest::emptyTextDrawsNothing_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("withVoucher");
    QTest::addColumn<bool>("blank");
    QTest::addRow("unknown tag") << u"${nome}"_s << true << true;
    QTest::addRow("empty value") << u"${firstname}"_s << true << true;
    QTest::addRow("no text") << QString() << true << true;
    QTest::addRow("a value") << u"${user}"_s << true << false;
    QTest::addRow("test print shows the tag's name") << u"${firstname}"_s << false << false;
}

void VoucherRenderTest::emptyTextDrawsNothing()
{
    QFETCH(QString, content);
    QFETCH(bool, withVoucher);
    QFETCH(bool, blank);
    VoucherRecord voucher;
    voucher.UserName = u"abc"_s;
    VoucherDesign design;
    design.Texts = {text(content, 10, 10)};
    QCOMPARE(isBlank(render(design, QSize(400, 100), PixelPerTenth, withVoucher ? &voucher : nullptr)),
             blank);
}

void VoucherRenderTest::colours_data()
{
    QTest::addColumn<bool>("isText");
    QTest::addColumn<uint>("colour");
    QTest::addColumn<QColor>("expected");
    QTest::addRow("line, red in the low byte") << false << 0x0000FFu << QColor(255, 0, 0);
    QTest::addRow("line, blue in the high byte") << false << 0xFF0000u << QColor(0, 0, 255);
    QTest::addRow("text, dark blue") << true << 0x800000u << QColor(0, 0, 128);
    QTest::addRow("text, top byte ignored") << true << 0xFF00FF00u << QColor(0, 255, 0);
}

void VoucherRenderTest::colours()
{
    QFETCH(bool, isText);
    QFETCH(uint, colour);
    QFETCH(QColor, expected);
    VoucherDesign design;
    if (isText) {
        DesignText t = text(blocks(), 50, 50);
        t.Colour = colour;
        design.Texts = {t};
    } else {
        design.Graphics = {graphic(DesignGraphic::Line, 50, 90, 200, 0, 5, colour)};
    }
    const QImage page = render(design, QSize(300, 200), PixelPerTenth);
    QCOMPARE(page.pixelColor(90, 90), expected);
}

void VoucherRenderTest::lineFromCornerToCorner_data()
{
    QTest::addColumn<qint32>("x");
    QTest::addColumn<qint32>("y");
    QTest::addColumn<qint32>("width");
    QTest::addColumn<qint32>("height");
    QTest::addRow("down to the right") << 10 << 10 << 40 << 40;
    QTest::addRow("up to the left") << 50 << 50 << -40 << -40;
    QTest::addRow("up to the right") << 10 << 50 << 40 << -40;
}

void VoucherRenderTest::lineFromCornerToCorner()
{
    QFETCH(qint32, x);
    QFETCH(qint32, y);
    QFETCH(qint32, width);
    QFETCH(qint32, height);
    VoucherDesign design;
    design.Graphics = {graphic(DesignGraphic::Line, x, y, width, height)};
    const QImage page = render(design, QSize(100, 100), PixelPerTenth);
    // Every pixel of the diagonal between the corners; the thin line leaves
    // out one of its ends.
    const int stepX = width > 0 ? 1 : -1;
    const int stepY = height > 0 ? 1 : -1;
    for (int i = 1; i < 40; ++i)
        QVERIFY2(qGray(page.pixel(x + i * stepX, y + i * stepY)) < 128, qPrintable(QString::number(i)));
    const QRect corners(QPoint(std::min(x, x + width), std::min(y, y + height)),
                        QPoint(std::max(x, x + width), std::max(y, y + height)));
    const QRect ink = inkBounds(page);
    QCOMPARE(ink.size(), QSize(40, 40));
    QVERIFY(corners.contains(ink));
}

void VoucherRenderTest::penWidth_data()
{
    QTest::addColumn<uint>("attributes");
    QTest::addColumn<int>("rows");
    QTest::addRow("0 is one pixel") << 0u << 1;
    QTest::addRow("1") << 1u << 1;
    QTest::addRow("2") << 2u << 2;
    QTest::addRow("5") << 5u << 5;
}

void VoucherRenderTest::penWidth()
{
    QFETCH(uint, attributes);
    QFETCH(int, rows);
    VoucherDesign design;
    design.Graphics = {graphic(DesignGraphic::Line, 20, 50, 100, 0, attributes)};
    const QImage page = render(design, QSize(150, 100), PixelPerTenth);
    int dark = 0;
    for (int y = 0; y < page.height(); ++y)
        dark += qGray(page.pixel(70, y)) < 128 ? 1 : 0;
    QCOMPARE(dark, rows);
    // No grey edges: lines are drawn without smoothing.
    for (int y = 0; y < page.height(); ++y)
        QVERIFY(page.pixel(70, y) == qRgb(0, 0, 0) || page.pixel(70, y) == qRgb(255, 255, 255));
}

void VoucherRenderTest::boxOfNegativeSize_data()
{
    QTest::addColumn<qint32>("x");
    QTest::addColumn<qint32>("y");
    QTest::addColumn<qint32>("width");
    QTest::addColumn<qint32>("height");
    QTest::addColumn<uint>("pen");
    QTest::addRow("negative width") << 220 << 30 << -200 << 100 << 1u;
    QTest::addRow("negative height") << 20 << 130 << 200 << -100 << 1u;
    QTest::addRow("both, wide pen") << 220 << 130 << -200 << -100 << 4u;
}

void VoucherRenderTest::boxOfNegativeSize()
{
    QFETCH(qint32, x);
    QFETCH(qint32, y);
    QFETCH(qint32, width);
    QFETCH(qint32, height);
    QFETCH(uint, pen);
    VoucherDesign reversed;
    reversed.Graphics = {graphic(DesignGraphic::Box, x, y, width, height, pen)};
    VoucherDesign forward;
    forward.Graphics = {graphic(DesignGraphic::Box, 20, 30, 200, 100, pen)};
    const QImage page = render(reversed, QSize(260, 160), PixelPerTenth);
    QCOMPARE(page, render(forward, QSize(260, 160), PixelPerTenth));
    // An outline, closed at every corner, nothing filled.
    const QRect ink = inkBounds(page);
    QVERIFY(qAbs(ink.left() - 20) <= int(pen) && qAbs(ink.right() - 220) <= int(pen));
    QCOMPARE(page.pixel(120, 80), qRgb(255, 255, 255));
    QVERIFY(qGray(page.pixel(20, 30)) < 128 && qGray(page.pixel(220, 130)) < 128);
}

void VoucherRenderTest::imageUnderBox()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"card.bmp"_s);
    QVERIFY(writeQuarters(path));
    VoucherDesign design;
    // The box comes first in the list and is still drawn on top.
    design.Graphics = {graphic(DesignGraphic::Box, 10, 10, 80, 40), image(path, 0, 0, 100, 60)};
    const QImage page = render(design, QSize(120, 80), PixelPerTenth);
    QCOMPARE(page.pixel(10, 10), qRgb(0, 0, 0));
    QCOMPARE(page.pixel(50, 10), qRgb(0, 0, 0));
    QCOMPARE(page.pixel(12, 12), qRgb(255, 0, 0));
    QCOMPARE(page.pixel(2, 2), qRgb(255, 0, 0));
}

void VoucherRenderTest::imageStretchedToBox_data()
{
    QTest::addColumn<qint32>("x");
    QTest::addColumn<qint32>("y");
    QTest::addColumn<qint32>("width");
    QTest::addColumn<qint32>("height");
    QTest::addColumn<QList<QRgb>>("corners"); // top left, top right, bottom left, bottom right
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255),
               yellow = qRgb(255, 255, 0);
    QTest::addRow("as it is") << 20 << 20 << 100 << 60 << QList<QRgb>{red, green, blue, yellow};
    QTest::addRow("negative width mirrors")
        << 120 << 20 << -100 << 60 << QList<QRgb>{green, red, yellow, blue};
    QTest::addRow("negative height flips") << 20 << 80 << 100 << -60 << QList<QRgb>{blue, yellow, red, green};
}

void VoucherRenderTest::imageStretchedToBox()
{
    QFETCH(qint32, x);
    QFETCH(qint32, y);
    QFETCH(qint32, width);
    QFETCH(qint32, height);
    QFETCH(QList<QRgb>, corners);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"quarters.bmp"_s);
    QVERIFY(writeQuarters(path));
    VoucherDesign design;
    design.Graphics = {image(path, x, y, width, height)};
    // A two-pixel picture over 100 x 60 pixels from (20, 20).
    const QImage page = render(design, QSize(140, 100), PixelPerTenth);
    QCOMPARE(page.pixel(20, 20), corners[0]);
    QCOMPARE(page.pixel(119, 20), corners[1]);
    QCOMPARE(page.pixel(20, 79), corners[2]);
    QCOMPARE(page.pixel(119, 79), corners[3]);
    QCOMPARE(page.pixel(19, 50), qRgb(255, 255, 255));
    QCOMPARE(page.pixel(120, 50), qRgb(255, 255, 255));
    QCOMPARE(page.pixel(70, 19), qRgb(255, 255, 255));
    QCOMPARE(page.pixel(70, 80), qRgb(255, 255, 255));
}

void VoucherRenderTest::imageOfZeroWidth()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"quarters.bmp"_s);
    QVERIFY(writeQuarters(path));
    VoucherDesign design;
    design.Graphics = {image(path, 20, 20, 0, 60)};
    QVERIFY(isBlank(render(design, QSize(100, 100), PixelPerTenth)));
}

void VoucherRenderTest::imageLoadedOncePerJob()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"card.bmp"_s);
    QVERIFY(writeQuarters(path));
    VoucherDesign design;
    design.Graphics = {image(path, 0, 0, 40, 40), image(path, 50, 0, 40, 40)};
    QImage page = whiteCanvas(QSize(100, 100), PixelPerTenth);
    RenderJob job = startRenderJob(design, resolutionOf(page));
    QVERIFY(QFile::remove(path));
    QPainter painter(&page);
    renderVoucher(painter, nullptr, {}, design, job);
    renderVoucher(painter, nullptr, {0, 50, 100, 100}, design, job);
    painter.end();
    for (const QPoint corner : {QPoint(0, 0), QPoint(50, 0), QPoint(0, 50), QPoint(50, 50)})
        QCOMPARE(page.pixel(corner), qRgb(255, 0, 0));
    // A new job reads the files again and finds none.
    QVERIFY(isBlank(render(design, QSize(100, 100), PixelPerTenth)));
}

void VoucherRenderTest::unreadableImageSkipped_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
    QTest::addRow("missing file") << QByteArray();
    QTest::addRow("not a bitmap") << QByteArray("BM but nothing else follows");
}

void VoucherRenderTest::unreadableImageSkipped()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"picture.bmp"_s);
    if (!bytes.isEmpty())
        QVERIFY(writeFile(path, bytes));
    VoucherDesign design;
    design.Graphics = {image(path, 0, 0, 100, 60), graphic(DesignGraphic::Box, 10, 10, 80, 40)};
    design.Texts = {text(blocks(), 200, 10)};
    const QImage page = render(design, QSize(300, 80), PixelPerTenth);
    QCOMPARE(page.pixel(12, 12), qRgb(255, 255, 255));
    QCOMPARE(page.pixel(10, 10), qRgb(0, 0, 0));
    QVERIFY(!inkBounds(page.copy(200, 0, 100, 80)).isEmpty());
}

void VoucherRenderTest::builtInCard()
{
    // Any source beginning with "<" is the card picture.
    VoucherDesign design;
    design.Graphics = {image(u"<Padrão>"_s, 10, 10, 168, 108)};
    const QImage page = render(design, QSize(200, 140), PixelPerTenth);
    QVERIFY(!isBlank(page.copy(10, 10, 168, 108)));
    QVERIFY(isBlank(page.copy(0, 0, 200, 10)));
    QVERIFY(isBlank(page.copy(178, 0, 22, 140)));
    design.Graphics.first().Source = u"<other>"_s;
    QCOMPARE(render(design, QSize(200, 140), PixelPerTenth), page);
}

void VoucherRenderTest::barcodeAtPointUnscaled()
{
    DesignGraphic code = graphic(DesignGraphic::Barcode, 60, 30, 200, 100, 0xFFFFFF);
    code.Symbology = 58; // QR Code: its first module is a dark corner of a finder
    code.Source = u"${user}"_s;
    VoucherDesign design;
    design.Graphics = {code};
    VoucherRecord voucher;
    voucher.UserName = u"abc"_s;
    const QImage page = render(design, QSize(400, 300), PixelPerTenth, &voucher, {40, 20, 0, 0});
    const QImage expected = barcodeImage(code, &voucher, 200, 100);
    QVERIFY(!expected.isNull());
    QCOMPARE(inkBounds(page), QRect(QPoint(100, 50), expected.size()));
    QCOMPARE(page.copy(100, 50, expected.width(), expected.height()).convertToFormat(expected.format()),
             expected);
}

WIFITICKETER_GUI_TEST(VoucherRenderTest)
#include "voucherrendertest.moc"
