#include "voucherrender.h"

#include "barcodeelement.h"
#include "builtincard.h"
#include "colorref.h"
#include "fieldtags.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QtNumeric>
#include <cstdlib>
#include <limits>

namespace {

constexpr int HundredthsMmPerInch = 2540;

// The rounding division behind mulDiv, wide enough for 10 x a length plus the
// voucher's offset; -1 when the denominator is 0 or the result leaves int.
int mulDivWide(qint64 number, qint64 numerator, qint64 denominator)
{
    qint64 product = 0;
    if (denominator == 0 || qMulOverflow(number, numerator, &product))
        return -1;
    const bool negative = (product < 0) != (denominator < 0);
    const quint64 magnitude = product < 0 ? 0 - quint64(product) : quint64(product);
    const quint64 divisor = denominator < 0 ? 0 - quint64(denominator) : quint64(denominator);
    const quint64 quotient = (magnitude + divisor / 2) / divisor;
    if (quotient > quint64(std::numeric_limits<int>::max()))
        return -1;
    return negative ? -int(quotient) : int(quotient);
}

int deviceX(qint64 tenthsMm, const DeviceResolution &resolution)
{
    return mulDivWide(10 * tenthsMm, resolution.dpiX, HundredthsMmPerInch);
}

int deviceY(qint64 tenthsMm, const DeviceResolution &resolution)
{
    return mulDivWide(10 * tenthsMm, resolution.dpiY, HundredthsMmPerInch);
}

bool sameFont(const FontSetEntry &entry, const DesignText &text)
{
    return entry.face == text.FontFace && entry.size == text.FontSize && entry.rotation == text.Rotation &&
           entry.bold == text.Bold && entry.italic == text.Italic;
}

const FontSetEntry *findFont(const FontSet &fonts, const DesignText &text)
{
    for (const FontSetEntry &entry : fonts) {
        if (sameFont(entry, text))
            return &entry;
    }
    return nullptr;
}

QFont makeFont(const DesignText &text, const DeviceResolution &resolution)
{
    QFont font(text.FontFace);
    // The size is the height of the characters themselves (the em), in half
    // points; a size of 0 keeps the default size.
    const int pixels = std::abs(mulDiv(text.FontSize, resolution.dpiY, 144));
    if (pixels > 0)
        font.setPixelSize(pixels);
    font.setWeight(text.Bold ? QFont::Bold : QFont::Normal);
    font.setItalic(text.Italic);
    // Outline fonts only, and texts as wide as their characters' advances, so
    // right and centred texts end where the design puts them.
    font.setStyleStrategy(QFont::ForceOutline);
    font.setKerning(false);
    return font;
}

// Counter-clockwise degrees of a text turned by its font.
int escapementDegrees(quint8 rotation)
{
    return rotation >= 1 && rotation <= 3 ? rotation * 90 : 0;
}

QImage loadDesignImage(const QString &source)
{
    if (selectsBuiltInCard(source))
        return builtInCardImage();
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Image graphics are Windows bitmap files; nothing else is read.
    QImageReader reader(&file, "bmp");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

const QImage &designImage(RenderJob &job, const QString &source)
{
    auto found = job.images.find(source);
    if (found == job.images.end())
        found = job.images.insert(source, loadDesignImage(source));
    return *found;
}

bool isImage(const DesignGraphic &graphic)
{
    return kindWord(graphic) == 0;
}

void drawImages(QPainter &painter, const VoucherRect &rect, const VoucherDesign &design, RenderJob &job)
{
    const DeviceResolution &resolution = job.resolution;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const DesignGraphic &graphic : design.Graphics) {
        if (!isImage(graphic))
            continue;
        const QImage &image = designImage(job, graphic.Source);
        const int width = toDeviceX(graphic.Width, resolution);
        const int height = toDeviceY(graphic.Height, resolution);
        if (image.isNull() || width == 0 || height == 0)
            continue;
        const qreal left = deviceX(qint64(rect.left) + graphic.X, resolution);
        const qreal top = deviceY(qint64(rect.top) + graphic.Y, resolution);
        // A negative size stretches the picture leftwards or upwards: mirrored.
        const QRectF target(width < 0 ? left + width : left, height < 0 ? top + height : top, std::abs(width),
                            std::abs(height));
        if (width < 0 || height < 0)
            painter.drawImage(target, image.mirrored(width < 0, height < 0));
        else
            painter.drawImage(target, image);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

// A solid pen `width` device pixels wide whatever the painter's transform. 0
// and 1 draw one pixel with flat ends, so a line stops at its end point
// instead of running a pixel past it; wider pens have round ends and joins.
QPen linePen(quint32 width, quint32 colour)
{
    QPen pen(colourOfColorRef(colour));
    pen.setCosmetic(true);
    if (width <= 1) {
        pen.setWidth(1);
        pen.setCapStyle(Qt::FlatCap);
    } else {
        pen.setWidthF(qreal(width));
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

void drawGraphics(QPainter &painter, const VoucherRecord *voucher, const VoucherRect &rect,
                  const VoucherDesign &design, const DeviceResolution &resolution)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    for (const DesignGraphic &graphic : design.Graphics) {
        const qint64 left = qint64(rect.left) + graphic.X;
        const qint64 top = qint64(rect.top) + graphic.Y;
        const int x1 = deviceX(left, resolution);
        const int y1 = deviceY(top, resolution);
        if (graphic.Kind == DesignGraphic::Line || graphic.Kind == DesignGraphic::Box) {
            // The far corner converts the sums, so lengths never drift by the
            // rounding of the near corner.
            const int x2 = deviceX(left + graphic.Width, resolution);
            const int y2 = deviceY(top + graphic.Height, resolution);
            painter.setPen(linePen(graphic.Attributes, graphic.Colour));
            if (kindWord(graphic) == DesignGraphic::Line) {
                painter.drawLine(x1, y1, x2, y2);
            } else {
                const QPoint outline[] = {{x1, y1}, {x1, y2}, {x2, y2}, {x2, y1}, {x1, y1}};
                painter.drawPolyline(outline, 5);
            }
        } else if (graphic.Kind == DesignGraphic::Barcode) {
            drawBarcode(painter, graphic, voucher, x1, y1, toDeviceX(graphic.Width, resolution),
                        toDeviceY(graphic.Height, resolution));
        }
    }
}

enum class TextAlign
{
    Left,
    Right,
    Centre
};

void drawTexts(QPainter &painter, const VoucherRecord *voucher, const VoucherRect &rect,
               const VoucherDesign &design, const RenderJob &job)
{
    const QFont passFont = painter.font();
    painter.setBackgroundMode(Qt::TransparentMode);
    // Every voucher starts from the left; an unknown alignment keeps the one
    // of the text before it on the same voucher.
    TextAlign align = TextAlign::Left;
    for (const DesignText &text : design.Texts) {
        const FontSetEntry *entry = findFont(job.fonts, text);
        const QFont &font = entry ? entry->font : passFont;
        if (text.Align <= 2)
            align = TextAlign(text.Align);
        const QString line = expandTags(text.Text, voucher);
        if (line.isEmpty())
            continue;

        painter.setFont(font);
        painter.setPen(colourOfColorRef(text.Colour));
        const QFontMetricsF metrics(font, painter.device());
        const qreal advance = metrics.horizontalAdvance(line);
        // The design's point is on the top edge of the text's cell: the
        // baseline lies the font's ascent below it.
        const qreal dx = align == TextAlign::Right ? -advance : align == TextAlign::Centre ? -advance / 2 : 0;
        painter.save();
        painter.translate(deviceX(qint64(rect.left) + text.X, job.resolution),
                          deviceY(qint64(rect.top) + text.Y, job.resolution));
        painter.rotate(-escapementDegrees(entry ? entry->rotation : 0));
        painter.drawText(QPointF(dx, metrics.ascent()), line);
        painter.restore();
    }
}

} // namespace

int mulDiv(int number, int numerator, int denominator)
{
    return mulDivWide(number, numerator, denominator);
}

int toDeviceX(qint32 tenthsMm, const DeviceResolution &resolution)
{
    return deviceX(tenthsMm, resolution);
}

int toDeviceY(qint32 tenthsMm, const DeviceResolution &resolution)
{
    return deviceY(tenthsMm, resolution);
}

DeviceResolution resolutionOf(const QPaintDevice &device)
{
    return {device.logicalDpiX(), device.logicalDpiY()};
}

FontSet buildFontSet(const VoucherDesign &design, const DeviceResolution &resolution)
{
    FontSet fonts;
    for (const DesignText &text : design.Texts) {
        if (!findFont(fonts, text))
            fonts.append({text.FontFace, text.FontSize, text.Rotation, text.Bold, text.Italic,
                          makeFont(text, resolution)});
    }
    return fonts;
}

RenderJob startRenderJob(const VoucherDesign &design, const DeviceResolution &resolution)
{
    RenderJob job;
    job.resolution = resolution;
    job.fonts = buildFontSet(design, resolution);
    for (const DesignGraphic &graphic : design.Graphics) {
        if (isImage(graphic))
            designImage(job, graphic.Source);
    }
    return job;
}

void renderVoucher(QPainter &painter, const VoucherRecord *voucher, const VoucherRect &rect,
                   const VoucherDesign &design, RenderJob &job)
{
    painter.save();
    drawImages(painter, rect, design, job);
    drawGraphics(painter, voucher, rect, design, job.resolution);
    drawTexts(painter, voucher, rect, design, job);
    painter.restore();
}
