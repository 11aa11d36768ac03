#pragma once

#include <QString>

// The decimal and thousands separators of the user's locale (the C library
// locale taken from the environment at start-up). The thousands separator may be
// empty.
struct NumberSeparators
{
    QString decimal = QStringLiteral(".");
    QString thousands;
};

NumberSeparators localeSeparators();

// A price in hundredths as text through the currency pattern ("UseCurrency"):
// "%d" or "%c" in the pattern choose '.'/',' or ','/'.' as decimal/thousands
// separators, an optional digit after them the number of decimals; a pattern
// without '%' is appended to the number after a blank.
QString formatPrice(qint64 value, const QString &pattern, const NumberSeparators &locale);
