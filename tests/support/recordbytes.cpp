#include "recordbytes.h"

#include "base/binaryfields.h"

QByteArray withU32(QByteArray bytes, qsizetype offset, quint32 value)
{
    putU32(bytes, offset, value);
    return bytes;
}

QByteArray recordBytes(quint32 size, quint32 type, char filler)
{
    QByteArray record(size, filler);
    putU32(record, 0, size);
    putU32(record, 4, type);
    return record;
}
