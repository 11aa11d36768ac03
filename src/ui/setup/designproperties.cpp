#include "designproperties.h"

#include "design/barcodetypes.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("CVoucherDialog", text);
}

// The design files keep 100 UTF-16 units for texts and 200 for sources, each
// with its terminator.
constexpr int TextLength = 99;
constexpr int SourceLength = 199;

} // namespace

QString fieldLabel(DesignField field)
{
    switch (field) {
    case DesignField::ImageSource:
        return translated("Nome do arquivo");
    case DesignField::BarcodeContent:
        return translated("Conteúdo");
    case DesignField::BarcodeType:
        return translated("Tipo");
    case DesignField::X:
        return translated("Posição X  (mm)");
    case DesignField::Y:
        return translated("Posição Y  (mm)");
    case DesignField::Width:
        return translated("Largura (mm)");
    case DesignField::Height:
        return translated("Altura (mm)");
    case DesignField::LineWidth:
        return translated("Largura da Linha (pixels)");
    case DesignField::LineColour:
        return translated("Cor da Linha");
    case DesignField::Background:
        return translated("Cor do Background");
    case DesignField::BarcodeRotation:
    case DesignField::TextRotation:
        return translated("Angulo de rotação");
    case DesignField::IncludeText:
        return translated("Incluir texto");
    case DesignField::BorderWidth:
        return translated("Tanho da borda (pontos)");
    case DesignField::Text:
        return translated("Texto");
    case DesignField::Align:
        return translated("Alinhar");
    case DesignField::Font:
        return translated("Fonte");
    case DesignField::TextColour:
        return translated("Cor do Texto");
    }
    return {};
}

PropertyEditor editorOf(DesignField field)
{
    switch (field) {
    case DesignField::ImageSource:
        return PropertyEditor::ImageFile;
    case DesignField::BarcodeContent:
    case DesignField::Text:
        return PropertyEditor::Text;
    case DesignField::X:
    case DesignField::Y:
    case DesignField::Width:
    case DesignField::Height:
        return PropertyEditor::Millimetres;
    case DesignField::LineWidth:
    case DesignField::BorderWidth:
        return PropertyEditor::Integer;
    case DesignField::LineColour:
    case DesignField::Background:
    case DesignField::TextColour:
        return PropertyEditor::Colour;
    case DesignField::BarcodeType:
    case DesignField::BarcodeRotation:
    case DesignField::IncludeText:
    case DesignField::Align:
    case DesignField::TextRotation:
        return PropertyEditor::Options;
    case DesignField::Font:
        return PropertyEditor::Font;
    }
    return PropertyEditor::Text;
}

QStringList fieldOptions(DesignField field)
{
    switch (field) {
    case DesignField::BarcodeType: {
        QStringList names;
        for (const BarcodeType &type : BarcodeTypes)
            names.append(type.name.toString());
        return names;
    }
    case DesignField::BarcodeRotation:
    case DesignField::TextRotation:
        return {u"0"_s, u"90"_s, u"180"_s, u"270"_s};
    case DesignField::IncludeText:
        return {translated("Não"), translated("Sim")};
    case DesignField::Align:
        return {translated("Esquerda"), translated("Direita"), translated("Centro")};
    default:
        return {};
    }
}

int fieldMaxLength(DesignField field)
{
    switch (field) {
    case DesignField::ImageSource:
    case DesignField::BarcodeContent:
        return SourceLength;
    case DesignField::Text:
        return TextLength;
    default:
        return 0;
    }
}

QString millimetreText(qint32 tenths, const QString &decimal)
{
    QString text = QString::asprintf("%g", tenths / 10.0);
    text.replace(u'.', decimal);
    return text;
}

qint32 parseMillimetres(const QString &text)
{
    QString number = text.trimmed();
    number.replace(u',', u'.');
    // As the C runtime reads a number: the longest leading part that is one.
    double value = 0;
    for (qsizetype length = number.size(); length > 0; --length) {
        bool ok = false;
        value = QStringView(number).left(length).toDouble(&ok);
        if (ok)
            break;
        value = 0;
    }
    if (!std::isfinite(value))
        return 0;
    const double tenths = std::trunc(value * 10);
    return qint32(std::clamp(tenths, double(std::numeric_limits<qint32>::min()),
                             double(std::numeric_limits<qint32>::max())));
}

qint64 leadingInteger(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr qint64 Limit = std::numeric_limits<qint32>::max();
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min(value * 10 + (text[i].unicode() - u'0'), Limit + 1);
    return negative ? -value : value;
}

int parsePropertyInteger(const QString &text)
{
    return int(std::clamp<qint64>(leadingInteger(text), 0, MaximumPropertyInteger));
}

int parseCopies(const QString &text)
{
    return int(std::clamp<qint64>(leadingInteger(text), 1, 255));
}

QString fontText(const FontChoice &font, const QString &decimal)
{
    QString size = QString::asprintf("%g", font.halfPoints / 2.0);
    size.replace(u'.', decimal);
    QString style;
    if (font.bold)
        style += u'B';
    if (font.italic)
        style += u'I';
    if (!style.isEmpty())
        size += u' ' + style;
    return u"%1 (%2)"_s.arg(font.face, size);
}

QList<PaletteColour> paletteColours()
{
    // COLORREF values: red in the lowest byte.
    return {
        {0x000000, QT_TRANSLATE_NOOP("CVoucherDialog", "Preto")},
        {0x808080, QT_TRANSLATE_NOOP("CVoucherDialog", "Cinza")},
        {0xC0C0C0, QT_TRANSLATE_NOOP("CVoucherDialog", "Prata")},
        {0xFFFFFF, QT_TRANSLATE_NOOP("CVoucherDialog", "Branco")},
        {0x000080, QT_TRANSLATE_NOOP("CVoucherDialog", "Marrom")},
        {0x0000FF, QT_TRANSLATE_NOOP("CVoucherDialog", "Vermelho")},
        {0x0080FF, QT_TRANSLATE_NOOP("CVoucherDialog", "Laranja")},
        {0x00FFFF, QT_TRANSLATE_NOOP("CVoucherDialog", "Amarelo")},
        {0x008000, QT_TRANSLATE_NOOP("CVoucherDialog", "Verde")},
        {0x00FF00, QT_TRANSLATE_NOOP("CVoucherDialog", "Lima")},
        {0x808000, QT_TRANSLATE_NOOP("CVoucherDialog", "Azul-petróleo")},
        {0xFFFF00, QT_TRANSLATE_NOOP("CVoucherDialog", "Ciano")},
        {0x800000, QT_TRANSLATE_NOOP("CVoucherDialog", "Azul-marinho")},
        {0xFF0000, QT_TRANSLATE_NOOP("CVoucherDialog", "Azul")},
        {0x800080, QT_TRANSLATE_NOOP("CVoucherDialog", "Roxo")},
        {0xFF00FF, QT_TRANSLATE_NOOP("CVoucherDialog", "Magenta")},
    };
}

QString colourText(quint32 colorRef)
{
    const quint32 colour = colorRef & 0xFFFFFF;
    for (const PaletteColour &entry : paletteColours()) {
        if (entry.colorRef == colour)
            return translated(entry.name);
    }
    return u"RGB(%1, %2, %3)"_s.arg(colour & 0xFF).arg(colour >> 8 & 0xFF).arg(colour >> 16 & 0xFF);
}
