#include "skinitem.h"

QString SkinItem::spokenName() const
{
    for (const Text &t : texts) {
        if (!t.text.isEmpty())
            return t.text;
    }
    return accessibleName;
}

std::unique_ptr<SkinItem> makeSkinItem(SkinCache &cache, int x, int y, int width, int height, int id,
                                       const QString &image, const QString &imageMask,
                                       const QString &hotImage, const QString &hotMask, quint32 flags,
                                       QColor fillColour)
{
    auto item = std::make_unique<SkinItem>();
    if (!image.isEmpty())
        item->normalImage = cache.load(image, imageMask);
    if (!hotImage.isEmpty())
        item->hotImage = cache.load(hotImage, hotMask);
    item->left = x;
    item->top = y;
    item->right = x + (width != 0 ? width : item->normalImage.width());
    item->bottom = y + (height != 0 ? height : item->normalImage.height());
    item->id = id;
    item->flags = flags;
    item->fillColour = fillColour;
    return item;
}
