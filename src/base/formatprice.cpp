#include "formatprice.h"

#include <QRegularExpression>
#include <clocale>

using namespace Qt::StringLiterals;

NumberSeparators localeSeparators()
{
    const lconv *conv = std::localeconv();
    NumberSeparators separators;
    if (conv && conv->decimal_point && *conv->decimal_point)
        separators.decimal = QString::fromLocal8Bit(conv->decimal_point);
    if (conv && conv->thousands_sep)
        separators.thousands = QString::fromLocal8Bit(conv->thousands_sep);
    return separators;
}

namespace {

// The digits of |value| in hundredths, rescaled to the number of decimals
// (cut, not rounded, when fewer than two).
QString formatNumber(qint64 value, int decimals, const NumberSeparators &separators)
{
    QString digits = QString::number(value < 0 ? 0 - quint64(value) : quint64(value));
    if (decimals > 2)
        digits += QString(decimals - 2, u'0');
    else if (decimals < 2)
        digits = digits.size() > 2 - decimals ? digits.chopped(2 - decimals) : u"0"_s;
    // A value that the cut made zero has no sign.
    const bool negative = value < 0 && digits.contains(QRegularExpression(u"[1-9]"_s));
    if (digits.size() < decimals + 1)
        digits = QString(decimals + 1 - digits.size(), u'0') + digits;
    const qsizetype integerDigits = digits.size() - decimals;
    QString integerPart = digits.left(integerDigits);
    for (qsizetype pos = integerDigits - 3; pos > 0; pos -= 3)
        integerPart.insert(pos, separators.thousands);
    QString out = negative ? u"-"_s + integerPart : integerPart;
    if (decimals > 0)
        out += separators.decimal + digits.right(decimals);
    return out;
}

} // namespace

QString formatPrice(qint64 value, const QString &pattern, const NumberSeparators &locale)
{
    const qsizetype percent = pattern.indexOf(u'%');
    if (percent < 0)
        return formatNumber(value, 2, locale) + u' ' + pattern;

    NumberSeparators separators = locale;
    int decimals = 2;
    qsizetype specifierLength = 1;
    const QChar selector = percent + 1 < pattern.size() ? pattern[percent + 1] : QChar();
    if (selector == u'd' || selector == u'c') {
        separators = selector == u'd' ? NumberSeparators{u"."_s, u","_s} : NumberSeparators{u","_s, u"."_s};
        specifierLength = 2;
        if (percent + 2 < pattern.size() && pattern[percent + 2].isDigit() &&
            pattern[percent + 2].unicode() < 128) {
            decimals = pattern[percent + 2].unicode() - u'0';
            specifierLength = 3;
        }
    }
    QString out = pattern;
    out.replace(percent, specifierLength, formatNumber(value, decimals, separators));
    return out;
}
