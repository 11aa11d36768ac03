#include "firstgenerationdesign.h"

#include "designrecords.h"

#include "base/binaryfields.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype NameBytes = 100;
constexpr qsizetype BackgroundBytes = 200;

} // namespace

FirstGenerationDesign firstGenerationDesignFromRecord(const QByteArray &r)
{
    FirstGenerationDesign design;
    design.Width = qint32(getU32(r, 8));
    design.Height = qint32(getU32(r, 12));
    design.Margin = qint32(getU32(r, 16));
    design.Name = readLegacyTextField(r, 24, NameBytes);
    design.Background = readLegacyTextField(r, 124, BackgroundBytes);
    return design;
}

FirstGenerationDesign::Font firstGenerationFontFromRecord(const QByteArray &r)
{
    FirstGenerationDesign::Font font;
    font.Number = getU32(r, 8);
    font.Face = readLegacyTextField(r, 12, NameBytes);
    font.Size = qint32(getU32(r, 112));
    font.Bold = r[116] != 0;
    font.Italic = r[117] != 0;
    return font;
}

FirstGenerationDesign::Text firstGenerationTextFromRecord(const QByteArray &r)
{
    FirstGenerationDesign::Text text;
    text.Text = readLegacyTextField(r, 8, NameBytes);
    text.FontNumber = getU32(r, 108);
    text.Colour = getU32(r, 112);
    text.Align = quint8(r[116]);
    text.Rotation = quint8(r[117]);
    text.X = qint32(getU32(r, 120));
    text.Y = qint32(getU32(r, 124));
    return text;
}

VoucherDesign convertFirstGenerationDesign(const FirstGenerationDesign &old)
{
    VoucherDesign design;
    design.Name = old.Name;
    design.Width = old.Width;
    design.Height = old.Height;
    design.Margin = old.Margin;
    design.Copies = 1;
    design.FillPage = true;

    DesignGraphic background;
    background.Source = old.Background.isEmpty() ? QString::fromUtf16(BuiltInImageSource) : old.Background;
    background.Kind = DesignGraphic::Image;
    background.Width = old.Width;
    background.Height = old.Height;
    background.Attributes = 1;
    design.Graphics.append(background);

    for (const FirstGenerationDesign::Text &oldText : old.Texts) {
        DesignText text;
        text.Text = oldText.Text;
        text.Colour = oldText.Colour;
        text.Align = oldText.Align;
        text.Rotation = oldText.Rotation;
        text.X = oldText.X;
        text.Y = oldText.Y;
        auto font =
            std::find_if(old.Fonts.begin(), old.Fonts.end(), [&](const FirstGenerationDesign::Font &f) {
                return f.Number == oldText.FontNumber;
            });
        if (font != old.Fonts.end()) {
            text.FontFace = font->Face;
            // 18/20 of the old size, halves rounded away from zero.
            const qint64 scaled = qint64(font->Size) * 18;
            text.FontSize = qint32((scaled >= 0 ? scaled + 10 : scaled - 10) / 20);
            text.Bold = font->Bold;
            text.Italic = font->Italic;
        } else {
            text.FontFace = u"Arial"_s;
            text.FontSize = 20;
        }
        design.Texts.append(text);
    }
    return design;
}
