#pragma once

#include "formatprice.h"

#include <QString>
#include <optional>

// A price in hundredths as the profile editor shows it: the digits of the
// amount with the locale's decimal separator before the last two, at least one
// digit before it, a "-" for a negative amount ("5,00", "0,05", "-1,50").
QString priceText(qint32 hundredths, const NumberSeparators &separators);

// A price the operator typed, in hundredths. Either "," or "." separates the
// decimals; digits after the second decimal are dropped. When both occur, the
// last one is the decimal separator and the other kind separates thousands; a
// separator that occurs more than once separates thousands; thousands come in
// groups of three digits. Blanks around the text and a leading sign are
// allowed; an empty text is 0. Anything else, and amounts beyond 32 bits, give
// nothing.
std::optional<qint32> readPriceText(const QString &text);
