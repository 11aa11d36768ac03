#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <memory>

// A bitmap of the program's artwork as windows draw it: the shared, loaded
// image and the insets by which it is cut when drawn sliced.
struct SkinImage
{
    std::shared_ptr<const QImage> image; // none: nothing is drawn
    int leftInset = 0;
    int rightInset = 0;
    int topInset = 0;
    int bottomInset = 0;

    bool isNull() const { return !image || image->isNull(); }
    int width() const { return image ? image->width() : 0; }
    int height() const { return image ? image->height() : 0; }
};

// The loaded bitmaps, shared by every window and item that draws the same
// (bitmap, mask) pair, so each is read and premultiplied once. An entry lives
// while an image uses it; images loaded as kept stay cached until the cache
// goes, so windows made later reuse them.
class SkinCache
{
public:
    enum class Retention
    {
        WhileUsed, // window skins: freed with their window
        Kept,      // item images: stay for the windows made later
    };

    // The image of the resource `bitmap`. With a `mask`, the bitmap takes its
    // alpha from the mask's first colour byte (blue), premultiplied; without,
    // the bitmap's own alpha is used. A resource that cannot be read gives a
    // null image.
    SkinImage load(const QString &bitmap, const QString &mask = {}, Retention retention = Retention::Kept);

    // Entries that images still use.
    qsizetype entryCount() const;

private:
    using Key = QPair<QString, QString>;
    QHash<Key, std::weak_ptr<const QImage>> m_entries;
    QList<std::shared_ptr<const QImage>> m_kept;
};
