#pragma once

#include <QtGlobal>

// What a barcode graphic's `Attributes` hold: the background colour in the low
// 24 bits and flags in the top byte (bit 0 the human-readable text, bits 1-2
// the rotation index).
struct BarcodeAttributes
{
    quint32 background = 0xFFFFFF; // COLORREF
    bool showText = false;
    int rotationIndex = 0; // 0..3 for "0", "90", "180", "270"
};

BarcodeAttributes barcodeAttributes(quint32 attributes);

// The angle libzint is asked to rotate by for a rotation index: 0, 270, 180
// and 90 for the indexes 0 to 3, so the code turns counter-clockwise like the
// texts do.
int barcodeRotationAngle(int rotationIndex);

// libzint's scale for a code whose unrotated bitmap at the default scale is
// `defaultBitmapWidth` pixels wide, fitted to a box `boxWidth` device pixels
// wide: the largest whole number of pixels per module that fits, at least
// libzint's half scale and at most the 100 libzint accepts.
float barcodeScale(int boxWidth, int defaultBitmapWidth);

// The bar height in modules that fills a box `boxHeight` device pixels high at
// `scale`: the box less what the default rendering (`defaultBitmapHeight`
// pixels for `defaultHeight` modules of bars) spends beyond the bars, such as
// the text. The whole box when that leaves nothing; at most 1000. Never below
// half a module per row of the symbol (`rows`): libzint aborts the program on
// lower bars.
float barcodeHeight(int boxHeight, float scale, int defaultBitmapHeight, float defaultHeight, int rows);
