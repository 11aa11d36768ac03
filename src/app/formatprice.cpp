#include "formatprice.h"

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

QString formatNumber(qint64 value, int decimals, const NumberSeparators &separators)
{
    const bool negative = value < 0;
    QString digits = QString::number(negative ? -value : value);
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

QString formatPrice(qint32 value, const QString &pattern, const NumberSeparators &locale)
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
    // 64-bit, so that up to nine decimals cannot overflow.
    qint64 scaled = value;
    for (int i = 2; i < decimals; ++i)
        scaled *= 10;
    for (int i = decimals; i < 2; ++i)
        scaled /= 10;

    QString out = pattern;
    out.replace(percent, specifierLength, formatNumber(scaled, decimals, separators));
    return out;
}
