#include "designmapkey.h"

#include <array>

namespace {

// The reflected table of the polynomial 0xEDB88320.
constexpr std::array<quint32, 256> makeCrcTable()
{
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = value & 1 ? (value >> 1) ^ 0xEDB88320u : value >> 1;
        table[i] = value;
    }
    return table;
}

constexpr std::array<quint32, 256> CrcTable = makeCrcTable();
constexpr quint32 InitialRegister = 0xFFFF9AEFu;

quint32 addByte(quint32 crc, quint8 byte)
{
    return (crc >> 8) ^ CrcTable[(crc ^ byte) & 0xFF];
}

} // namespace

QString designMapKey(const QString &routerName)
{
    quint32 crc = InitialRegister;
    for (QChar c : routerName) {
        crc = addByte(crc, quint8(c.unicode() & 0xFF));
        crc = addByte(crc, quint8(c.unicode() >> 8));
    }
    return QStringLiteral("%1").arg(crc ^ 0xFFFFFFFFu, 8, 16, QLatin1Char('0')).toUpper();
}
