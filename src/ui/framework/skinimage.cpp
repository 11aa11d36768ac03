#include "skinimage.h"

namespace {

QImage loadMasked(const QString &bitmap, const QString &mask)
{
    QImage image(bitmap);
    if (image.isNull() || mask.isEmpty())
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage alpha = QImage(mask).convertToFormat(QImage::Format_RGB32);
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int a = x < alpha.width() && y < alpha.height() ? qBlue(alpha.pixel(x, y)) : 0;
            line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), a);
        }
    }
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

SkinImage SkinCache::load(const QString &bitmap, const QString &mask, Retention retention)
{
    const Key key{bitmap, mask};
    std::shared_ptr<const QImage> image = m_entries.value(key).lock();
    if (!image) {
        image = std::make_shared<const QImage>(loadMasked(bitmap, mask));
        m_entries.insert(key, image);
    }
    if (retention == Retention::Kept && !m_kept.contains(image))
        m_kept.append(image);
    return SkinImage{image};
}

qsizetype SkinCache::entryCount() const
{
    qsizetype live = 0;
    for (const std::weak_ptr<const QImage> &entry : m_entries) {
        if (!entry.expired())
            ++live;
    }
    return live;
}
