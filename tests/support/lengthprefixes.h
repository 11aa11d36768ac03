#pragma once

#include <QByteArray>
#include <QList>

// A word length of the RouterOS API and the prefix that announces it.
struct LengthPrefix
{
    const char *name; // the row name of a data-driven test
    qint64 length;
    QByteArray prefix;
};

// Every boundary of the one- to four-byte forms (up to 0xFFFFFFF), the prefixes
// worked out by hand from the API's encoding. Lengths beyond the four-byte form
// are left to each test: the program's codec gives them no prefix, the
// simulator writes the five-byte form.
QList<LengthPrefix> fourByteLengthPrefixes();
