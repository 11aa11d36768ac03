#pragma once

#include <QByteArray>

// Bytes of the program's binary files, made by hand for readers to be fed.

// The bytes with a 4-byte little-endian number written at `offset`.
QByteArray withU32(QByteArray bytes, qsizetype offset, quint32 value);

// A record of `size` bytes that starts with its size and its type (4-byte
// little-endian numbers), the rest filled with `filler`.
QByteArray recordBytes(quint32 size, quint32 type, char filler = '\0');
