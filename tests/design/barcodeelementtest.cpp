#include "testcanvas.h"
#include "testmain.h"

#include "design/barcodeelement.h"
#include "design/barcodefit.h"
#include "design/barcodetypes.h"
#include "design/voucherdesign.h"
#include "design/voucherrender.h"
#include "generation/voucherrecord.h"

#include <QPainter>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>

using namespace Qt::StringLiterals;

namespace {

// Flags of a barcode graphic's attributes: the rotation index and the text bit.
quint32 barcodeFlags(int rotationIndex, bool showText)
{
    return quint32(rotationIndex << 1 | (showText ? 1 : 0)) << 24;
}

DesignGraphic barcode(quint8 symbology, const QString &content, quint32 attributes = 0xFFFFFF,
                      quint32 colour = 0)
{
    DesignGraphic g;
    g.Kind = DesignGraphic::Barcode;
    g.Symbology = symbology;
    g.Source = content;
    g.Attributes = attributes;
    g.Colour = colour;
    return g;
}

VoucherRecord voucher()
{
    VoucherRecord v;
    v.UserName = u"hotel-4821"_s;
    v.Password = u"s3nh4"_s;
    v.Serial = 123456789;
    return v;
}

// What the zbar scanner reads from a picture, one code a line.
QString scan(const QString &path)
{
    QProcess zbarimg;
    zbarimg.start(u"zbarimg"_s, {u"--raw"_s, u"-q"_s, path});
    if (!zbarimg.waitForStarted(10000))
        return u"<zbarimg did not start>"_s;
    zbarimg.waitForFinished(30000);
    return QString::fromUtf8(zbarimg.readAllStandardOutput()).trimmed();
}

QSet<QRgb> coloursOf(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y) & 0xFFFFFF);
    }
    return colours;
}

} // namespace

class BarcodeElementTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyTypeEncodes_data();
    void everyTypeEncodes();
    void scale_data();
    void scale();
    void height_data();
    void height();
    void rotationAngle_data();
    void rotationAngle();
    void attributes_data();
    void attributes();
    void fittedToBox();
    void heightAtMost1000();
    void boxTooLowStillDraws_data();
    void boxTooLowStillDraws();
    void rotationTurnsCounterClockwise_data();
    void rotationTurnsCounterClockwise();
    void recolour_data();
    void recolour();
    void colouredCode();
    void unencodableDrawsNothing_data();
    void unencodableDrawsNothing();
    void scannedBack_data();
    void scannedBack();
};

void BarcodeElementTest::everyTypeEncodes_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("content");
    const QStringList samples = {u"${serial}"_s, u"${user}"_s,     u"590123412345"_s, u"ABC-123"_s,
                                 u"12345678"_s,  u"03600029145"_s, u"01234565"_s,     u"A40156B"_s,
                                 u"12345"_s,     u"${password}"_s, u"${user}"_s};
    QCOMPARE(samples.size(), qsizetype(BarcodeTypes.size()));
    for (qsizetype i = 0; i < samples.size(); ++i)
        QTest::addRow("%s", BarcodeTypes[i].name.toString().toUtf8().constData()) << int(i) << samples[i];
}

void BarcodeElementTest::everyTypeEncodes()
{
    QFETCH(int, index);
    QFETCH(QString, content);
    const VoucherRecord v = voucher();
    const QImage code = barcodeImage(barcode(BarcodeTypes[index].symbology, content), &v, 400, 200);
    QVERIFY(!code.isNull());
    QVERIFY(!inkBounds(code).isEmpty());
}

void BarcodeElementTest::scale_data()
{
    QTest::addColumn<int>("boxWidth");
    QTest::addColumn<int>("bitmapWidth");
    QTest::addColumn<float>("expected");
    QTest::addRow("40 mm at 300 dpi, Code 128 of a serial") << 472 << 202 << 2.0f;
    QTest::addRow("half-pixel steps") << 403 << 202 << 1.5f;
    QTest::addRow("exactly one pixel a module") << 101 << 202 << 0.5f;
    QTest::addRow("narrower than half the code") << 100 << 202 << 0.5f;
    QTest::addRow("no bitmap") << 472 << 0 << 0.5f;
    QTest::addRow("negative box") << -472 << 202 << 0.5f;
    QTest::addRow("libzint's largest scale") << 2000000000 << 202 << 100.0f;
}

void BarcodeElementTest::scale()
{
    QFETCH(int, boxWidth);
    QFETCH(int, bitmapWidth);
    QFETCH(float, expected);
    QCOMPARE(barcodeScale(boxWidth, bitmapWidth), expected);
}

void BarcodeElementTest::height_data()
{
    QTest::addColumn<int>("boxHeight");
    QTest::addColumn<float>("scale");
    QTest::addColumn<int>("bitmapHeight");
    QTest::addColumn<float>("defaultHeight");
    QTest::addColumn<int>("rows");
    QTest::addColumn<float>("expected");
    // Code 128 with its text: 116 pixels for 50 modules of bars at scale 1.
    QTest::addRow("box less the text") << 400 << 2.0f << 116 << 50.0f << 1 << 92.0f;
    QTest::addRow("without text") << 118 << 2.0f << 100 << 50.0f << 1 << 29.0f;
    QTest::addRow("no room for the text") << 16 << 1.0f << 116 << 50.0f << 1 << 8.0f;
    QTest::addRow("odd pixels truncate") << 119 << 2.0f << 100 << 50.0f << 1 << 29.0f;
    QTest::addRow("at most 1000") << 5000 << 0.5f << 100 << 50.0f << 1 << 1000.0f;
    QTest::addRow("empty box") << 0 << 1.0f << 116 << 50.0f << 1 << 1.0f;
    QTest::addRow("negative box") << -300 << 1.0f << 116 << 50.0f << 1 << 1.0f;
    QTest::addRow("half a module for each of 7 rows") << 4 << 1.0f << 42 << 21.0f << 7 << 4.0f;
}

void BarcodeElementTest::height()
{
    QFETCH(int, boxHeight);
    QFETCH(float, scale);
    QFETCH(int, bitmapHeight);
    QFETCH(float, defaultHeight);
    QFETCH(int, rows);
    QFETCH(float, expected);
    QCOMPARE(barcodeHeight(boxHeight, scale, bitmapHeight, defaultHeight, rows), expected);
}

void BarcodeElementTest::rotationAngle_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("angle");
    QTest::addRow("0") << 0 << 0;
    QTest::addRow("90") << 1 << 270;
    QTest::addRow("180") << 2 << 180;
    QTest::addRow("270") << 3 << 90;
}

void BarcodeElementTest::rotationAngle()
{
    QFETCH(int, index);
    QFETCH(int, angle);
    QCOMPARE(barcodeRotationAngle(index), angle);
}

void BarcodeElementTest::attributes_data()
{
    QTest::addColumn<uint>("attributes");
    QTest::addColumn<uint>("background");
    QTest::addColumn<bool>("showText");
    QTest::addColumn<int>("rotation");
    QTest::addRow("new graphic") << 0x00FFFFFFu << 0xFFFFFFu << false << 0;
    QTest::addRow("text") << (0x00FFFFu | barcodeFlags(0, true)) << 0x00FFFFu << true << 0;
    QTest::addRow("90 without text") << (0x123456u | barcodeFlags(1, false)) << 0x123456u << false << 1;
    QTest::addRow("270 with text") << (0xFFFFFFu | barcodeFlags(3, true)) << 0xFFFFFFu << true << 3;
    QTest::addRow("higher flags ignored") << 0xF9000000u << 0u << true << 0;
}

void BarcodeElementTest::attributes()
{
    QFETCH(uint, attributes);
    QFETCH(uint, background);
    QFETCH(bool, showText);
    QFETCH(int, rotation);
    const BarcodeAttributes read = barcodeAttributes(attributes);
    QCOMPARE(read.background, background);
    QCOMPARE(read.showText, showText);
    QCOMPARE(read.rotationIndex, rotation);
}

void BarcodeElementTest::fittedToBox()
{
    // A box 40 mm wide and 10 mm high at 300 dpi; the serial's Code 128 is
    // 202 pixels wide at libzint's default scale, so 4 pixels a module.
    const DeviceResolution resolution{300, 300};
    const int width = toDeviceX(400, resolution);
    const int height = toDeviceY(100, resolution);
    QCOMPARE(width, 472);
    const VoucherRecord v = voucher();
    VoucherRecord first = v;
    first.Serial = 42;
    const QImage code = barcodeImage(barcode(20, u"${serial}"_s), &first, width, height);
    QCOMPARE(code.width(), 404);
    // 29 modules of 4 pixels: as high as fits the 118-pixel box.
    QCOMPARE(code.height(), 116);
}

void BarcodeElementTest::heightAtMost1000()
{
    // One pixel a module, so the bars are as many pixels high as modules.
    const VoucherRecord v = voucher();
    const QImage code = barcodeImage(barcode(20, u"${serial}"_s), &v, 100, 5000);
    QVERIFY(!code.isNull());
    QCOMPARE(code.height(), 1000);
}

void BarcodeElementTest::boxTooLowStillDraws_data()
{
    QTest::addColumn<int>("symbology");
    QTest::addColumn<int>("boxHeight");
    QTest::addRow("Code 128, no height") << 20 << 0;
    QTest::addRow("Code 128, negative height") << 20 << -50;
    QTest::addRow("PDF417, a pixel") << 55 << 1;
}

void BarcodeElementTest::boxTooLowStillDraws()
{
    QFETCH(int, symbology);
    QFETCH(int, boxHeight);
    const VoucherRecord v = voucher();
    const QImage code = barcodeImage(barcode(quint8(symbology), u"${serial}"_s), &v, 400, boxHeight);
    QVERIFY(!code.isNull());
    QVERIFY(!inkBounds(code).isEmpty());
}

void BarcodeElementTest::rotationTurnsCounterClockwise_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("degrees"); // counter-clockwise
    QTest::addRow("90") << 1 << 90;
    QTest::addRow("180") << 2 << 180;
    QTest::addRow("270") << 3 << 270;
}

void BarcodeElementTest::rotationTurnsCounterClockwise()
{
    QFETCH(int, index);
    QFETCH(int, degrees);
    const VoucherRecord v = voucher();
    const QImage upright =
        barcodeImage(barcode(20, u"${serial}"_s, 0xFFFFFF | barcodeFlags(0, true)), &v, 472, 118);
    const QImage turned =
        barcodeImage(barcode(20, u"${serial}"_s, 0xFFFFFF | barcodeFlags(index, true)), &v, 472, 118);
    QVERIFY(!upright.isNull());
    // The box applies as if the code were not turned.
    QCOMPARE(turned, upright.transformed(QTransform().rotate(-degrees)));
}

void BarcodeElementTest::recolour_data()
{
    QTest::addColumn<QByteArray>("pixel"); // red, green, blue as libzint writes them
    QTest::addColumn<bool>("isBackground");
    QTest::addRow("white") << QByteArray("\xFF\xFF\xFF", 3) << true;
    QTest::addRow("black") << QByteArray("\x00\x00\x00", 3) << false;
    QTest::addRow("any red is background") << QByteArray("\x01\x00\x00", 3) << true;
    QTest::addRow("no red is a bar") << QByteArray("\x00\xFF\xFF", 3) << false;
}

void BarcodeElementTest::recolour()
{
    QFETCH(QByteArray, pixel);
    QFETCH(bool, isBackground);
    // Two pixels: the one of the row and a white one.
    const QByteArray bitmap = pixel + QByteArray("\xFF\xFF\xFF", 3);
    const QImage image = recolourBarcodeBitmap(reinterpret_cast<const unsigned char *>(bitmap.constData()), 2,
                                               1, 0x00FFFF, 0x800000);
    const QRgb yellow = qRgb(255, 255, 0);
    const QRgb darkBlue = qRgb(0, 0, 128);
    QCOMPARE(image.size(), QSize(2, 1));
    QCOMPARE(image.pixel(0, 0), isBackground ? yellow : darkBlue);
    QCOMPARE(image.pixel(1, 0), yellow);

    // Black and white, either way round, come as one bit a pixel with the same
    // colours. Nine pixels, so a row spans two bytes.
    const QByteArray row = pixel.repeated(8) + QByteArray("\xFF\xFF\xFF", 3);
    for (const auto &[background, bars] : {std::pair{0xFFFFFFu, 0u}, std::pair{0u, 0xFFFFFFu}}) {
        const QImage mono =
            recolourBarcodeBitmap(reinterpret_cast<const unsigned char *>(row.constData()), 9, 1, background, bars);
        QCOMPARE(mono.format(), QImage::Format_Mono);
        const QRgb backgroundPixel = background ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        const QRgb barPixel = bars ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        for (int x = 0; x < 8; ++x)
            QCOMPARE(mono.pixel(x, 0), isBackground ? backgroundPixel : barPixel);
        QCOMPARE(mono.pixel(8, 0), backgroundPixel);
    }
}

void BarcodeElementTest::colouredCode()
{
    // Yellow background and dark blue bars, whatever colours libzint drew with.
    const VoucherRecord v = voucher();
    for (quint8 symbology : {quint8(20), quint8(58)}) {
        const QImage code = barcodeImage(barcode(symbology, u"${user}"_s, 0x00FFFF, 0x800000), &v, 300, 100);
        QCOMPARE(coloursOf(code), (QSet<QRgb>{0xFFFF00, 0x000080}));
    }
}

void BarcodeElementTest::unencodableDrawsNothing_data()
{
    QTest::addColumn<int>("symbology");
    QTest::addColumn<QString>("content");
    QTest::addRow("letters in EAN") << 13 << u"${user}"_s;
    QTest::addRow("too long for Micro QR Code") << 97 << QString(200, u'x');
    QTest::addRow("Postnet of an odd length warns") << 40 << u"12345678"_s;
    QTest::addRow("empty") << 20 << u"${firstname}"_s;
    QTest::addRow("not a type of the list") << 0 << u"${user}"_s;
}

void BarcodeElementTest::unencodableDrawsNothing()
{
    QFETCH(int, symbology);
    QFETCH(QString, content);
    const VoucherRecord v = voucher();
    DesignGraphic code = barcode(quint8(symbology), content);
    code.X = 10;
    code.Y = 10;
    code.Width = 200;
    code.Height = 100;
    QVERIFY(barcodeImage(code, &v, 200, 100).isNull());
    // The rest of the voucher is still drawn.
    DesignGraphic line;
    line.Kind = DesignGraphic::Line;
    line.X = 10;
    line.Y = 150;
    line.Width = 100;
    VoucherDesign design;
    design.Graphics = {code, line};
    QImage page = whiteCanvas(QSize(300, 200), 254);
    RenderJob job = startRenderJob(design, resolutionOf(page));
    QPainter painter(&page);
    renderVoucher(painter, &v, {}, design, job);
    painter.end();
    QCOMPARE(inkBounds(page), QRect(10, 150, 100, 1));
}

void BarcodeElementTest::scannedBack_data()
{
    QTest::addColumn<int>("symbology");
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<bool>("testPrint");
    QTest::addColumn<QString>("expected");
    QTest::addRow("QR Code of the user name") << 58 << u"${user}"_s << 0 << false << u"hotel-4821"_s;
    QTest::addRow("QR Code turned 90") << 58 << u"${user}"_s << 1 << false << u"hotel-4821"_s;
    QTest::addRow("Code 128 of the serial") << 20 << u"${serial}"_s << 0 << false << u"123456789"_s;
    QTest::addRow("Code 128 turned 270") << 20 << u"${serial}"_s << 3 << false << u"123456789"_s;
    QTest::addRow("test print: the tag's name") << 20 << u"${serial}"_s << 0 << true << u"serial"_s;
    QTest::addRow("Code 39") << 8 << u"WIFI ${password}"_s << 0 << false << u"WIFI S3NH4"_s;
    QTest::addRow("EAN-13 gets its check digit")
        << 13 << u"590123412345"_s << 0 << false << u"5901234123457"_s;
}

void BarcodeElementTest::scannedBack()
{
    QFETCH(int, symbology);
    QFETCH(QString, content);
    QFETCH(int, rotation);
    QFETCH(bool, testPrint);
    QFETCH(QString, expected);
    DesignGraphic code = barcode(quint8(symbology), content, 0xFFFFFF | barcodeFlags(rotation, true));
    code.X = 100;
    code.Y = 100;
    code.Width = 400;
    code.Height = 150;
    VoucherDesign design;
    design.Graphics = {code};
    const VoucherRecord v = voucher();
    QImage page = whiteCanvas(QSize(900, 900), 300);
    RenderJob job = startRenderJob(design, resolutionOf(page));
    QPainter painter(&page);
    renderVoucher(painter, testPrint ? nullptr : &v, {}, design, job);
    painter.end();

    QTemporaryDir folder;
    const QString path = folder.filePath(u"voucher.png"_s);
    QVERIFY(page.save(path));
    // zbarimg comes with zbar-tools, which scripts/install-deps.sh installs.
    QCOMPARE(scan(path), expected);
}

WIFITICKETER_TEST(BarcodeElementTest)
#include "barcodeelementtest.moc"
