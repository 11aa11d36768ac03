#include "pricetext.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isSeparator(QChar c)
{
    return c == u',' || c == u'.';
}

// The digits of an integer part whose thousands may be separated: a first
// group of one to three digits, then groups of exactly three. Nothing when the
// grouping is not one.
std::optional<QString> integerDigits(QStringView part)
{
    QString digits;
    qsizetype group = 0;
    bool grouped = false;
    for (QChar c : part) {
        if (isDigit(c)) {
            digits += c;
            ++group;
            continue;
        }
        if (group == 0 || group > 3 || (grouped && group != 3))
            return std::nullopt;
        grouped = true;
        group = 0;
    }
    if (grouped && group != 3)
        return std::nullopt;
    return digits;
}

} // namespace

QString priceText(qint32 hundredths, const NumberSeparators &separators)
{
    // Widened first: the lowest 32-bit value has no positive counterpart.
    const qint64 value = hundredths;
    QString digits = QString::number(value < 0 ? -value : value);
    if (digits.size() < 3)
        digits.prepend(QString(3 - digits.size(), u'0'));
    // Without a separator the text would read back a hundred times larger.
    digits.insert(digits.size() - 2, separators.decimal.isEmpty() ? u"."_s : separators.decimal);
    return value < 0 ? u'-' + digits : digits;
}

std::optional<qint32> readPriceText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0;
    QStringView number(trimmed);
    // No price is below nothing: a profile of -1,00 would lower the day's total.
    if (number.front() == u'+')
        number = number.sliced(1);
    for (QChar c : number) {
        if (!isDigit(c) && !isSeparator(c))
            return std::nullopt;
    }

    const qsizetype commas = number.count(u',');
    const qsizetype points = number.count(u'.');
    QChar decimal;
    if (commas > 0 && points > 0) {
        const qsizetype last = std::max(number.lastIndexOf(u','), number.lastIndexOf(u'.'));
        decimal = number[last];
        if (number.count(decimal) > 1)
            return std::nullopt;
    } else if (commas == 1) {
        decimal = u',';
    } else if (points == 1) {
        decimal = u'.';
    }

    QStringView integerPart = number;
    QStringView fraction;
    if (!decimal.isNull()) {
        const qsizetype at = number.lastIndexOf(decimal);
        integerPart = number.first(at);
        fraction = number.sliced(at + 1);
    }
    const std::optional<QString> digits = integerDigits(integerPart);
    if (!digits || (digits->isEmpty() && fraction.isEmpty()))
        return std::nullopt;
    // The price is read whole: a third decimal is not dropped, and "1,234"
    // (a thousand or one and a bit?) is not guessed at.
    if (fraction.size() > 2)
        return std::nullopt;

    // Hundredths: the integer digits, then the decimals, padded to two.
    QString hundredths = *digits;
    hundredths += fraction;
    hundredths += QString(2 - fraction.size(), u'0');
    qint64 value = 0;
    for (QChar c : std::as_const(hundredths)) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<qint32>::max())
            return std::nullopt;
    }
    return qint32(value);
}
