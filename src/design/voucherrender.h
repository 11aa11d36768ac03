#pragma once

#include "voucherdesign.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QList>

class QPaintDevice;
class QPainter;
struct VoucherRecord;

// Where a voucher lies on the sheet, in tenths of a millimetre from the
// top-left corner of the printable area. Only left and top place the drawing;
// nothing is clipped to the rectangle.
struct VoucherRect
{
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;

    friend bool operator==(const VoucherRect &, const VoucherRect &) = default;
};

// Pixels per inch of the page being drawn on.
struct DeviceResolution
{
    int dpiX = 0;
    int dpiY = 0;
};

// The resolution a painter on the device draws at (a printer's, or an image's
// dots per metre).
DeviceResolution resolutionOf(const QPaintDevice &device);

// number × numerator / denominator rounded to the nearest integer, halves away
// from zero, without overflow; -1 when the denominator is 0 or the result does
// not fit an int (as the platform's MulDiv does).
int mulDiv(int number, int numerator, int denominator);

// A length or position in tenths of a millimetre as device pixels.
int toDeviceX(qint32 tenthsMm, const DeviceResolution &resolution);
int toDeviceY(qint32 tenthsMm, const DeviceResolution &resolution);

// One font of a print job: the texts with this face (compared exactly), size,
// rotation, weight and slant share it.
struct FontSetEntry
{
    QString face;
    qint32 size = 0;
    quint8 rotation = 0;
    bool bold = false;
    bool italic = false;
    QFont font;
};
using FontSet = QList<FontSetEntry>;

FontSet buildFontSet(const VoucherDesign &design, const DeviceResolution &resolution);

// What a print job keeps while it draws voucher after voucher: its fonts, and
// every image file loaded once (a null image when it could not be loaded).
struct RenderJob
{
    DeviceResolution resolution;
    FontSet fonts;
    QHash<QString, QImage> images;
};

RenderJob startRenderJob(const VoucherDesign &design, const DeviceResolution &resolution);

// Draws one voucher of the design at the rectangle: images, then lines, boxes
// and barcodes, then texts, each group in list order. The painter works in
// device pixels with its origin at the top-left of the printable area. Without
// a voucher (a test print) the field tags show their own names.
void renderVoucher(QPainter &painter, const VoucherRecord *voucher, const VoucherRect &rect,
                   const VoucherDesign &design, RenderJob &job);
