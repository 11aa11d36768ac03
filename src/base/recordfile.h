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
// false to stop: a record it cannot take is damage.
//
// Returns whether the device read whole: every record had a size from 8 to
// `sizeLimit` - 1 and all of its bytes, the handler took every one, and the
// last record ended exactly where the device ends (no bytes after it, no read
// error). False means what was handled is not all the device holds, so a list
// made from it must not be written back in its place. Callers that only want
// the records may ignore it.
bool readRecords(QIODevice &device, quint32 sizeLimit,
                 const std::function<bool(quint32 type, const QByteArray &record)> &handle);
