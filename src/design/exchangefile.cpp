#include "exchangefile.h"

#include "designrecords.h"

#include "base/atomicfile.h"
#include "base/binaryfields.h"
#include "base/recordfile.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

constexpr quint32 BitmapRecordSize = 12;

// The bytes of an image's bitmap file, when there is one to embed.
std::optional<QByteArray> bitmapToEmbed(const DesignGraphic &graphic)
{
    if (kindWord(graphic) != DesignGraphic::Image ||
        graphic.Source.compare(QStringView(BuiltInImageSource), Qt::CaseInsensitive) == 0)
        return std::nullopt;
    // Only plain files: a device or a pipe named as a picture has no end.
    const QFileInfo info(graphic.Source);
    if (graphic.Source.isEmpty() || !info.isFile() || info.size() > qint64(0xFFFFFFFFu))
        return std::nullopt;
    QFile file(graphic.Source);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The length written is that of the bytes read, so the record stays whole
    // even if the file changes meanwhile.
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError || data.size() > qsizetype(0xFFFFFFFFu))
        return std::nullopt;
    return data;
}

QByteArray bitmapRecord(const QByteArray &data)
{
    QByteArray record(BitmapRecordSize, '\0');
    putU32(record, 0, BitmapRecordSize);
    putU32(record, 4, EmbeddedBitmapRecord);
    putU32(record, 8, quint32(data.size()));
    return record + data;
}

bool isFirstGeneration(quint32 type)
{
    return type == FirstGenerationDesignRecord || type == FirstGenerationFontRecord ||
           type == FirstGenerationTextRecord;
}

} // namespace

bool exportDesign(const QString &path, const VoucherDesign &design)
{
    QByteArray bytes = headerRecord(design);
    for (const DesignGraphic &graphic : design.Graphics) {
        bytes += graphicRecord(graphic);
        if (const std::optional<QByteArray> bitmap = bitmapToEmbed(graphic))
            bytes += bitmapRecord(*bitmap);
    }
    for (const DesignText &text : design.Texts)
        bytes += textRecord(text);
    return writeFileAtomically(path, bytes);
}

bool readExchangeFile(QIODevice &device, VoucherDesign &design, ImageStore &store)
{
    bool headerRead = false;
    bool failed = false;
    qsizetype lastGraphic = -1; // of this import

    readRecords(device, DesignRecordSizeLimit, [&](quint32 type, const QByteArray &record) {
        const quint32 size = designRecordSize(type);
        if (size == 0 || isFirstGeneration(type))
            return true;
        if (quint32(record.size()) != size) {
            failed = true;
            return false;
        }
        switch (type) {
        case HeaderRecord:
        case OldHeaderRecord:
            readHeaderRecord(record, design);
            headerRead = true;
            return true;
        case GraphicRecord:
        case OldGraphicRecord:
            design.Graphics.append(graphicFromRecord(record));
            lastGraphic = design.Graphics.size() - 1;
            return true;
        case TextRecord:
        case OldTextRecord:
            design.Texts.append(textFromRecord(record));
            return true;
        case EmbeddedBitmapRecord: {
            const QString path = lastGraphic < 0 ? QString() : storeBitmap(store, device, getU32(record, 8));
            if (path.isEmpty()) {
                failed = true;
                return false;
            }
            design.Graphics[lastGraphic].Source = path;
            return true;
        }
        }
        return true;
    });
    return headerRead && !failed;
}

bool importDesign(const QString &path, VoucherDesign &design, const QString &dataFolder, qint64 now)
{
    ImageStore store = openImageStore(dataFolder, now);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return readExchangeFile(file, design, store);
}
