#include "imagestore.h"

#include "base/paths.h"

#include <QDateTime>
#include <QFile>

namespace {

constexpr int LastCounter = 0xFF;
constexpr qint64 ChunkSize = 2000;
// A graphic's source holds 199 units; a longer path would be cut and name
// another file.
constexpr qsizetype SourceLimit = 199;

bool copyInto(QFile &file, QIODevice &device, quint32 length)
{
    qint64 left = length;
    while (left > 0) {
        const QByteArray chunk = device.read(qMin(left, ChunkSize));
        if (chunk.isEmpty() || file.write(chunk) != chunk.size())
            return false;
        left -= chunk.size();
    }
    return file.flush();
}

} // namespace

ImageStore openImageStore(const QString &dataFolder, qint64 now)
{
    const QDateTime local = QDateTime::fromSecsSinceEpoch(now).toLocalTime();
    const QDate date = local.date();
    const QTime time = local.time();
    const QString digits = QString::asprintf("%02d%02d%02d%02d%02d%02d", date.year() - 2000, date.month(),
                                             date.day(), time.hour(), time.minute(), time.second());
    ImageStore store;
    if (dataFolder.isEmpty()) {
        store.stamp = digits;
    } else {
        // A folder that cannot be made shows when the first bitmap is written.
        ensureFolder(dataFolder);
        store.stamp = dataFolder + u'/' + digits;
    }
    return store;
}

QString storeBitmap(ImageStore &store, QIODevice &device, quint32 length)
{
    for (int counter = store.lastCounter + 1; counter <= LastCounter; ++counter) {
        const QString path = store.stamp + QString::asprintf("%02X.bmp", counter);
        if (path.size() > SourceLimit)
            return {};
        QFile file(path);
        // Never over an existing file, even one that appears just now.
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists())
                continue;
            return {};
        }
        store.lastCounter = counter;
        if (!copyInto(file, device, length)) {
            file.remove();
            return {};
        }
        return path;
    }
    return {};
}
