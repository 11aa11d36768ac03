#include "lengthprefixes.h"

QList<LengthPrefix> fourByteLengthPrefixes()
{
    return {
        {"0", 0, QByteArray::fromHex("00")},
        {"0x7F", 0x7F, QByteArray::fromHex("7f")},
        {"0x80", 0x80, QByteArray::fromHex("8080")},
        {"0x102", 0x102, QByteArray::fromHex("8102")},
        {"0x3FFF", 0x3FFF, QByteArray::fromHex("bfff")},
        {"0x4000", 0x4000, QByteArray::fromHex("c04000")},
        {"0x1FFFFF", 0x1FFFFF, QByteArray::fromHex("dfffff")},
        {"0x200000", 0x200000, QByteArray::fromHex("e0200000")},
        {"0xFFFFFFF", 0xFFFFFFF, QByteArray::fromHex("efffffff")},
    };
}
