#pragma once

#include <QStringView>
#include <array>

// One barcode type offered for barcode graphics: the name the design page
// shows and the libzint symbology number a graphic's `Symbology` holds.
struct BarcodeType
{
    QStringView name;
    quint8 symbology;
};

// The types in the order the design page lists them.
inline constexpr std::array<BarcodeType, 11> BarcodeTypes{{
    {u"Code 128", 20},
    {u"QR Code", 58},
    {u"EAN8 / EAN13", 13},
    {u"Code 39", 8},
    {u"Interleaved 2 of 5", 3},
    {u"UPC-A", 34},
    {u"UPC-E", 37},
    {u"Codabar", 18},
    {u"Postnet", 40},
    {u"PDF417", 55},
    {u"Micro QR Code", 97},
}};

// Code 128: new barcode graphics, and what a name or number outside the list
// falls back to.
inline constexpr quint8 DefaultBarcodeSymbology = 20;
