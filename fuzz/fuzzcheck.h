#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Shared pieces of the fuzz targets: how a broken property is reported, the
// texts the writers are expected to store, numbers taken from the input and a
// place for the files of a run. (Helpers the tests share too, such as reading
// a file or feeding bytes to a reader, come from tests/support.)

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

// The text as a fixed field of `fieldUnits` UTF-16 units keeps it: cut (as
// cutTextKeepingPairs) to leave room for the NUL that ends the field, and
// ending at its own first NUL.
QString asStoredInField(const QString &text, qsizetype fieldUnits);

// A length in [0, size] chosen by the input, for cutting the input short.
qsizetype cutPoint(QByteArrayView data);

// The 8-byte little-endian number of the input at `offset`, zeros past its end;
// a narrower field takes its low bytes.
qint64 numberFromInput(const QByteArray &data, qsizetype offset);

// A path in a temporary folder that lasts the whole run. The inputs come one
// after another, each rewriting or removing what the one before left there.
QString runPath(const QString &name);
