#pragma once

#include "formatprice.h"

#include <QString>
#include <optional>

// A price in hundredths as the profile editor shows it: the digits of the
// amount with the locale's decimal separator before the last two, at least one
// digit before it, a "-" for a negative amount ("5,00", "0,05", "-1,50").
QString priceText(qint32 hundredths, const NumberSeparators &separators);

// A price the operator typed, in hundredths, read whole. Either "," or "."
// separates the decimals, of which there are at most two: "1,234" and "1.234"
// could be a thousand or one and a bit, and give nothing. When both occur, the
// last one is the decimal separator and the other kind separates thousands
// ("1.234,50"); a separator that occurs more than once separates thousands
// ("1.234.567"); thousands come in groups of three digits. Blanks around the
// text and a leading "+" are allowed; an empty text is 0. Anything else (a
// negative amount, text after the number) and amounts beyond 32 bits give
// nothing.
std::optional<qint32> readPriceText(const QString &text);
