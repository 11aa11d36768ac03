#include "recordfile.h"

#include "binaryfields.h"

namespace {

constexpr quint32 HeaderSize = 8;

} // namespace

void readRecords(QIODevice &device, quint32 sizeLimit,
                 const std::function<bool(quint32 type, const QByteArray &record)> &handle)
{
    for (;;) {
        QByteArray record = device.read(4);
        if (record.size() < 4)
            return;
        const quint32 size = getU32(record, 0);
        if (size >= sizeLimit || size < HeaderSize)
            return;
        record += device.read(size - 4);
        if (quint32(record.size()) < size)
            return;
        if (!handle(getU32(record, 4), record))
            return;
    }
}
