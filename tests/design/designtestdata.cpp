#include "designtestdata.h"
#include "readfrombytes.h"

#include "design/designfile.h"

using namespace Qt::StringLiterals;

VoucherDesign cafeDesign()
{
    VoucherDesign d;
    d.Name = u"Café"_s;
    d.Width = 856;
    d.Height = 540;
    d.Margin = 50;
    d.Copies = 2;
    d.Printer = u"Impressora Térmica"_s;
    d.FillPage = false;
    d.Graphics = {
        {u"C:\\imagens\\fundo.bmp"_s, DesignGraphic::Image, 0, 0, 0, 0, 856, 540, 1, 0},
        {QString(), DesignGraphic::Line, 0, 0, 10, 500, 836, 0, 2, 0x0000FF},
        {u"${user}"_s, DesignGraphic::Barcode, 58, 2, 600, 300, 200, 200, 0x03FFFFFF, 0x102030},
    };
    d.Texts = {
        {u"Usuário: ${user}"_s, u"Arial"_s, 20, true, false, 0x800000, 0, 0, 50, 100},
        {u"${price}"_s, u"Courier New"_s, 28, false, true, 0x00FF00, 1, 1, -5, 450},
    };
    return d;
}

VoucherDesign emptyDesign()
{
    VoucherDesign d;
    d.Name = u"Vazio"_s;
    return d;
}

VoucherDesign oldDesign()
{
    VoucherDesign d;
    d.Name = u"Antigo é"_s;
    d.Width = 840;
    d.Height = 540;
    d.Margin = 100;
    d.Printer = u"HP LaserJet"_s;
    d.Graphics = {
        {u"fundo antigo.bmp"_s, DesignGraphic::Image, 0, 0, 0, 0, 840, 540, 1, 0},
        {u"${serial}"_s, DesignGraphic::Barcode, 20, 1, 100, 200, 300, 80, 0xFFFFFF, 0},
    };
    d.Texts = {
        {u"Preço: ${price}"_s, u"Times New Roman"_s, 24, true, true, 0x123456, 2, 3, 420, 30},
    };
    return d;
}

DesignList designsOf(const QByteArray &bytes)
{
    return readFromBytes(bytes, readDesigns);
}

char *toString(const VoucherDesign &d)
{
    QString text =
        QString::asprintf("%ls %dx%d+%d copies %d fill %d printer %ls;", qUtf16Printable(d.Name), d.Width,
                          d.Height, d.Margin, d.Copies, int(d.FillPage), qUtf16Printable(d.Printer));
    for (const DesignGraphic &g : d.Graphics)
        text += QString::asprintf(" [%ls %08x %d,%d %dx%d %08x %06x]", qUtf16Printable(g.Source), kindWord(g),
                                  g.X, g.Y, g.Width, g.Height, g.Attributes, g.Colour);
    for (const DesignText &t : d.Texts)
        text += QString::asprintf(" {%ls %ls %d %d%d %06x %d/%d %d,%d}", qUtf16Printable(t.Text),
                                  qUtf16Printable(t.FontFace), t.FontSize, int(t.Bold), int(t.Italic),
                                  t.Colour, t.Align, t.Rotation, t.X, t.Y);
    return qstrdup(text.toUtf8().constData());
}
