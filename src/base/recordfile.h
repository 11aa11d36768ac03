#pragma once

#include <QByteArray>
#include <QIODevice>
#include <functional>

// Reading a file of little-endian records, each starting with its size (the
// 8-byte header included) and its type. Reading stops at the end, at a short
// read, at a size of `sizeLimit` or more, at a size too small for the header, or
// when the handler says so; what was handled before stays handled.
//
// The handler gets the type and the whole record (header included) and returns
// false to stop.
void readRecords(QIODevice &device, quint32 sizeLimit,
                 const std::function<bool(quint32 type, const QByteArray &record)> &handle);
