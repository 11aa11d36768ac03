#pragma once

#include "cfontselectdialog.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

// The properties the design page's grids show for graphics and texts, how
// their values read as text and how typed text reads as values. Lengths are
// tenths of a millimetre shown in millimetres; colours are COLORREF values.

enum class DesignField
{
    ImageSource,     // "Nome do arquivo"
    BarcodeContent,  // "Conteúdo"
    BarcodeType,     // "Tipo": index into BarcodeTypes
    X,               // "Posição X  (mm)"
    Y,               // "Posição Y  (mm)"
    Width,           // "Largura (mm)"
    Height,          // "Altura (mm)"
    LineWidth,       // "Largura da Linha (pixels)"
    LineColour,      // "Cor da Linha"
    Background,      // "Cor do Background"
    BarcodeRotation, // "Angulo de rotação": index 0..3
    IncludeText,     // "Incluir texto": 0 or 1
    BorderWidth,     // "Tanho da borda (pontos)"
    Text,            // "Texto"
    Align,           // "Alinhar": index 0..2
    Font,            // "Fonte": a FontChoice
    TextColour,      // "Cor do Texto"
    TextRotation     // "Angulo de rotação": index 0..3
};

// How a property is edited.
enum class PropertyEditor
{
    Text,
    Millimetres,
    Integer, // 0..MaximumPropertyInteger
    Colour,
    Options,
    Font,
    ImageFile
};

// Pixels and points of line widths and barcode borders: a barcode's border is
// a byte in the design files, and a line wider than that has no use.
inline constexpr int MaximumPropertyInteger = 255;

QString fieldLabel(DesignField field);
PropertyEditor editorOf(DesignField field);
// The texts of an option property, in index order.
QStringList fieldOptions(DesignField field);
// The characters a text property keeps (the design files' fields); 0 for none.
int fieldMaxLength(DesignField field);

// Stored tenths as millimetres, "%g" style, with the decimal separator given:
// 840 is "84", 845 is "84.5".
QString millimetreText(qint32 tenths, const QString &decimal);
// Typed millimetres as tenths, cut to a whole tenth: "84.55" and "84,55" are
// 845. Either separator is read; text that is no number reads as 0, and a
// number too large for a length as the largest one.
qint32 parseMillimetres(const QString &text);

// The leading whole number of the text, as the C runtime's atoi reads it
// (blanks, a sign, digits; anything else ends it; none gives 0), saturated
// instead of overflowing.
qint64 leadingInteger(const QString &text);
// A property integer kept within 0..MaximumPropertyInteger.
int parsePropertyInteger(const QString &text);
// The copies of each voucher: 1..255, text that is no number gives 1.
int parseCopies(const QString &text);

// "Arial (10)", "Arial (10.5 B)", "Arial (12 BI)": the face and the size in
// points from the half points.
QString fontText(const FontChoice &font, const QString &decimal);

// The colours the colour properties offer before "Mais", with their names.
struct PaletteColour
{
    quint32 colorRef;
    const char *name;
};
QList<PaletteColour> paletteColours();
// The palette name of a colour, else its red, green and blue values.
QString colourText(quint32 colorRef);

Q_DECLARE_METATYPE(FontChoice)
