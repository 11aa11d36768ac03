#include "recordfile.h"

#include "binaryfields.h"
#include "listfile.h"

namespace {

constexpr quint32 HeaderSize = 8;

} // namespace

bool readRecords(QIODevice &device, quint32 sizeLimit,
                 const std::function<bool(quint32 type, const QByteArray &record)> &handle)
{
    for (;;) {
        QByteArray record = device.read(4);
        // Nothing more between records is the one whole end.
        if (record.isEmpty())
            return readToEnd(device);
        if (record.size() < 4)
            return false;
        const quint32 size = getU32(record, 0);
        if (size >= sizeLimit || size < HeaderSize)
            return false;
        record += device.read(size - 4);
        if (quint32(record.size()) < size)
            return false;
        if (!handle(getU32(record, 4), record))
            return false;
    }
}
