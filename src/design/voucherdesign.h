#pragma once

#include <QList>
#include <QString>
#include <memory>

// Lengths are tenths of a millimetre; colours are COLORREF values (red in the
// lowest byte).

// One graphic of a design: an image, a line, a box or a barcode.
struct DesignGraphic
{
    enum : quint16
    {
        Image = 0,
        Line = 1,
        Box = 2,
        Barcode = 255
    };

    QString Source;         // image: .bmp path or "<Padrão>"; barcode: content with field tags
    quint16 Kind = Image;   // one of the kinds above
    quint8 Symbology = 0;   // barcode type
    quint8 BorderWidth = 0; // barcode border, passed to the barcode library
    qint32 X = 0;
    qint32 Y = 0;
    qint32 Width = 0; // a line ends at (X + Width, Y + Height)
    qint32 Height = 0;
    // Line and box: pen width in pixels. Barcode: bits 0-23 background colour,
    // bits 24-31 rotation index * 2 + include-text bit.
    quint32 Attributes = 0;
    quint32 Colour = 0; // pen or bar colour

    friend bool operator==(const DesignGraphic &, const DesignGraphic &) = default;
};

// Kind, Symbology and BorderWidth as the one word the files hold. Only a word
// of 0 is an image and only 1 a line: a graphic with kind 0 but a symbology is
// none of them.
quint32 kindWord(const DesignGraphic &graphic);
void setKindWord(DesignGraphic &graphic, quint32 word);

// One text of a design, with field tags.
struct DesignText
{
    QString Text;
    QString FontFace;
    qint32 FontSize = 0; // half points: 20 is 10 pt
    bool Bold = false;
    bool Italic = false;
    quint32 Colour = 0;
    quint8 Align = 0;    // 0 left end, 1 right end, 2 centre at X
    quint8 Rotation = 0; // 0..3: 0, 90, 180, 270 degrees counter-clockwise
    qint32 X = 0;        // the reference point is on the text's top edge
    qint32 Y = 0;

    friend bool operator==(const DesignText &, const DesignText &) = default;
};

// One print design. Copying a design copies its elements.
struct VoucherDesign
{
    QList<DesignGraphic> Graphics; // drawn in this order, images first
    QList<DesignText> Texts;       // drawn after all graphics
    QString Name;                  // unique in the design list, whatever the case
    qint32 Width = 0;
    qint32 Height = 0;
    qint32 Margin = 0; // added to width and height for the paper or the grid step
    qint32 Copies = 1; // of each voucher, 1..255
    QString Printer;   // empty: ask with the print dialog
    bool FillPage = true;

    friend bool operator==(const VoucherDesign &, const VoucherDesign &) = default;
};

// The designs in file order. Profiles point at designs of the list, so every
// design keeps its address for as long as the list holds it.
using DesignList = QList<std::shared_ptr<VoucherDesign>>;

// The image source that selects the built-in card picture.
inline constexpr char16_t BuiltInImageSource[] = u"<Padrão>";

// The built-in design "Padrão": the card picture with user, password, profile
// and price.
VoucherDesign makeDefaultDesign();

// The first design whose name equals `name` without regard to case, or null.
VoucherDesign *findDesign(const DesignList &designs, const QString &name);

// Copies of every design, for an editor that works apart from the list.
DesignList copyDesigns(const DesignList &designs);
