#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Shared pieces of the fuzz targets: how a broken property is reported, and the
// texts the writers are expected to store.

// Stops the run with the property named when it does not hold; libFuzzer then
// keeps the input that broke it.
void require(bool holds, const char *property);

// A text of exactly `length` UTF-16 units taken from the input, cycling through
// it (its bytes read as little-endian units); empty when the input holds no
// whole unit. Gives the writers texts around their length limits.
QString textFromInput(QByteArrayView data, qsizetype length);

// The first `maxUnits` units of the text; a text that was cut never ends on a
// high surrogate (half of a pair), as the writers store it.
QString cutTextKeepingPairs(const QString &text, qsizetype maxUnits);

// The text up to its first NUL: a fixed-size text field ends there.
QString beforeNul(const QString &text);

// A length in [0, size] chosen by the input, for cutting the input short.
qsizetype cutPoint(QByteArrayView data);
