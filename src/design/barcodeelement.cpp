#include "barcodeelement.h"

#include "barcodefit.h"
#include "barcodetypes.h"
#include "colorref.h"
#include "fieldtags.h"
#include "voucherdesign.h"

#include <QPainter>
#include <algorithm>
#include <memory>
#include <zint.h>

// The design files store libzint's own numbers; they must stay the library's.
static_assert(BarcodeTypes[0].symbology == BARCODE_CODE128);
static_assert(BarcodeTypes[1].symbology == BARCODE_QRCODE);
static_assert(BarcodeTypes[2].symbology == BARCODE_EANX);
static_assert(BarcodeTypes[3].symbology == BARCODE_CODE39);
static_assert(BarcodeTypes[4].symbology == BARCODE_C25INTER);
static_assert(BarcodeTypes[5].symbology == BARCODE_UPCA);
static_assert(BarcodeTypes[6].symbology == BARCODE_UPCE);
static_assert(BarcodeTypes[7].symbology == BARCODE_CODABAR);
static_assert(BarcodeTypes[8].symbology == BARCODE_POSTNET);
static_assert(BarcodeTypes[9].symbology == BARCODE_PDF417);
static_assert(BarcodeTypes[10].symbology == BARCODE_MICROQR);

namespace {

struct SymbolDeleter
{
    void operator()(zint_symbol *symbol) const { ZBarcode_Delete(symbol); }
};
using Symbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

bool hasBitmap(const zint_symbol &symbol)
{
    return symbol.bitmap != nullptr && symbol.bitmap_width > 0 && symbol.bitmap_height > 0;
}

} // namespace

QImage recolourBarcodeBitmap(const unsigned char *bitmap, int width, int height, quint32 background,
                             quint32 bars)
{
    const QRgb backgroundPixel = colourOfColorRef(background).rgb();
    const QRgb barPixel = colourOfColorRef(bars).rgb();
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    if ((backgroundPixel == white && barPixel == black) || (backgroundPixel == black && barPixel == white)) {
        // Black and white, the usual colours, as one bit a pixel: a PDF then
        // holds each code in a few hundred bytes instead of a colour picture.
        QImage image(width, height, QImage::Format_Mono);
        if (image.isNull())
            return image;
        image.setColorTable({black, white});
        const bool backgroundBit = backgroundPixel == white;
        uchar *bits = image.bits();
        const qsizetype stride = image.bytesPerLine();
        const unsigned char *pixel = bitmap;
        for (int y = 0; y < height; ++y) {
            uchar *line = bits + y * stride;
            std::fill(line, line + stride, uchar(0));
            for (int x = 0; x < width; ++x, pixel += 3) {
                if ((pixel[0] != 0) == backgroundBit)
                    line[x >> 3] |= uchar(0x80 >> (x & 7));
            }
        }
        return image;
    }

    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const unsigned char *pixel = bitmap;
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x, pixel += 3)
            line[x] = pixel[0] != 0 ? backgroundPixel : barPixel;
    }
    return image;
}

QImage barcodeImage(const DesignGraphic &graphic, const VoucherRecord *voucher, int boxWidth, int boxHeight)
{
    const Symbol symbol(ZBarcode_Create());
    if (!symbol)
        return {};
    const BarcodeAttributes attributes = barcodeAttributes(graphic.Attributes);
    symbol->symbology = graphic.Symbology;
    symbol->show_hrt = attributes.showText ? 1 : 0;
    symbol->border_width = qint8(graphic.BorderWidth);

    const QByteArray content = expandTags(graphic.Source, voucher).toUtf8();
    if (ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char *>(content.constData()), 0) != 0)
        return {};

    if (ZBarcode_Buffer(symbol.get(), 0) != 0 || !hasBitmap(*symbol))
        return {};
    symbol->scale = barcodeScale(boxWidth, symbol->bitmap_width);
    symbol->height =
        barcodeHeight(boxHeight, symbol->scale, symbol->bitmap_height, symbol->height, symbol->rows);

    // A failed rendering may leave the previous bitmap's size behind.
    if (ZBarcode_Buffer(symbol.get(), barcodeRotationAngle(attributes.rotationIndex)) != 0 ||
        !hasBitmap(*symbol))
        return {};
    return recolourBarcodeBitmap(symbol->bitmap, symbol->bitmap_width, symbol->bitmap_height,
                                 attributes.background, graphic.Colour);
}

void drawBarcode(QPainter &painter, const DesignGraphic &graphic, const VoucherRecord *voucher, int x, int y,
                 int boxWidth, int boxHeight)
{
    const QImage image = barcodeImage(graphic, voucher, boxWidth, boxHeight);
    if (image.isNull())
        return;
    // A PDF would store the code as a JPEG, whose smudged edges scanners read
    // worse; codes are stored without loss.
    const bool lossless = painter.testRenderHint(QPainter::LosslessImageRendering);
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.drawImage(QPoint(x, y), image);
    painter.setRenderHint(QPainter::LosslessImageRendering, lossless);
}
