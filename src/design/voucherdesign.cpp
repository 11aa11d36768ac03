#include "voucherdesign.h"

using namespace Qt::StringLiterals;

quint32 kindWord(const DesignGraphic &graphic)
{
    return quint32(graphic.Kind) | quint32(graphic.Symbology) << 16 | quint32(graphic.BorderWidth) << 24;
}

void setKindWord(DesignGraphic &graphic, quint32 word)
{
    graphic.Kind = quint16(word & 0xFFFF);
    graphic.Symbology = quint8(word >> 16 & 0xFF);
    graphic.BorderWidth = quint8(word >> 24);
}

VoucherDesign makeDefaultDesign()
{
    VoucherDesign design;
    design.Name = u"Padrão"_s;
    design.Width = 840;
    design.Height = 540;
    design.Margin = 100;
    design.Copies = 1;
    design.FillPage = true;

    DesignGraphic card;
    card.Source = QString::fromUtf16(BuiltInImageSource);
    card.Kind = DesignGraphic::Image;
    card.Width = 840;
    card.Height = 540;
    card.Attributes = 1;
    design.Graphics.append(card);

    // Captions in dark blue, values in black below them; the left column reads
    // from its left end, the right one up to its right end.
    constexpr quint32 DarkBlue = 0x800000;
    struct Line
    {
        QString text;
        qint32 x;
        qint32 y;
        quint8 align;
        quint32 colour;
        qint32 size;
    };
    const Line lines[] = {
        {u"Nome do Usuário"_s, 270, 184, 0, DarkBlue, 14}, {u"${user}"_s, 270, 229, 0, 0, 18},
        {u"Senha"_s, 750, 184, 1, DarkBlue, 14},           {u"${password}"_s, 750, 229, 1, 0, 18},
        {u"Perfil"_s, 270, 300, 0, DarkBlue, 14},          {u"${profile}"_s, 270, 345, 0, 0, 18},
        {u"Preço"_s, 750, 300, 1, DarkBlue, 14},           {u"${price}"_s, 750, 345, 1, 0, 18},
    };
    for (const Line &line : lines) {
        DesignText text;
        text.Text = line.text;
        text.FontFace = u"Arial"_s;
        text.FontSize = line.size;
        text.Colour = line.colour;
        text.Align = line.align;
        text.X = line.x;
        text.Y = line.y;
        design.Texts.append(text);
    }
    return design;
}

VoucherDesign *findDesign(const DesignList &designs, const QString &name)
{
    for (const std::shared_ptr<VoucherDesign> &design : designs) {
        if (design->Name.compare(name, Qt::CaseInsensitive) == 0)
            return design.get();
    }
    return nullptr;
}

DesignList copyDesigns(const DesignList &designs)
{
    DesignList copies;
    copies.reserve(designs.size());
    for (const std::shared_ptr<VoucherDesign> &design : designs)
        copies.append(std::make_shared<VoucherDesign>(*design));
    return copies;
}
