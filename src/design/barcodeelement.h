#pragma once

#include <QImage>

class QPainter;
struct DesignGraphic;
struct VoucherRecord;

// The code of a barcode graphic for one voucher (or, without one, a test
// print) fitted to a box of `boxWidth` x `boxHeight` device pixels: libzint's
// bitmap in the graphic's bar and background colours, rotated as the graphic
// says, never stretched. A null image when the content cannot be encoded
// (libzint reports an error or a warning) or libzint cannot draw it.
QImage barcodeImage(const DesignGraphic &graphic, const VoucherRecord *voucher, int boxWidth, int boxHeight);

// libzint's bitmap (three bytes per pixel, red first, rows top to bottom) in
// two colours: a pixel whose red byte is not 0 becomes `background`, any other
// the bar colour, whatever colours libzint drew with. Colours are COLORREFs.
QImage recolourBarcodeBitmap(const unsigned char *bitmap, int width, int height, quint32 background,
                             quint32 bars);

// Draws the barcode graphic with its top-left corner at device pixel (x, y),
// one library pixel to one device pixel. Nothing when it cannot be encoded.
void drawBarcode(QPainter &painter, const DesignGraphic &graphic, const VoucherRecord *voucher, int x, int y,
                 int boxWidth, int boxHeight);
