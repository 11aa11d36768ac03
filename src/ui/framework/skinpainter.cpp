#include "skinpainter.h"

#include "skinitem.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <qdrawutil.h>

QPixmap renderSkin(const SkinImage &skin, QSize size)
{
    QPixmap out(size);
    out.fill(Qt::transparent);
    if (skin.isNull() || size.isEmpty())
        return out;
    QPainter painter(&out);
    // Insets that together reach across the image (a skin whose edges meet
    // in a plain middle) keep one column or row between them to stretch.
    const int left = std::min(skin.leftInset, (skin.width() - 1) / 2);
    const int right = std::min(skin.rightInset, skin.width() - 1 - left);
    const int top = std::min(skin.topInset, (skin.height() - 1) / 2);
    const int bottom = std::min(skin.bottomInset, skin.height() - 1 - top);
    const QMargins insets(left, top, right, bottom);
    qDrawBorderPixmap(&painter, QRect(QPoint(0, 0), size), insets, QPixmap::fromImage(*skin.image));
    return out;
}

namespace {

// Where the text goes: the image decides it, else the item's rectangle.
QRect drawImage(QPainter &painter, const SkinItem &item, const QRect &rect)
{
    const bool off = !item.has(SkinItem::Enabled) && !item.offImage.isNull();
    const SkinImage &image = off ? item.offImage
                             : item.state != SkinItem::Normal && !item.hotImage.isNull() ? item.hotImage
                                                                                         : item.normalImage;
    if (image.isNull())
        return rect;
    const QPixmap pixmap = QPixmap::fromImage(*image.image);
    if (item.has(SkinItem::Stretch)) {
        painter.drawPixmap(rect, pixmap);
        return rect;
    }
    if (item.has(SkinItem::ThreeSlice)) {
        const int top = rect.top() + (rect.height() - image.height()) / 2;
        const QRect target(rect.left(), top, rect.width(), image.height());
        qDrawBorderPixmap(&painter, target, QMargins(image.leftInset, 0, image.rightInset, 0), pixmap);
        return QRect(rect.left(), top, rect.width(), rect.height());
    }
    const QPoint at(rect.left() + (rect.width() - image.width()) / 2,
                    rect.top() + (rect.height() - image.height()) / 2);
    painter.drawPixmap(at, pixmap);
    return QRect(at, rect.size());
}

void drawText(QPainter &painter, const SkinItem &item, const SkinItem::Text &text, const QRect &area)
{
    if (text.text.isEmpty())
        return;
    QRect box = area;
    int align = 0;
    if (text.xOffset >= 0) {
        box.setLeft(box.left() + text.xOffset);
        align |= Qt::AlignLeft;
    } else {
        align |= text.xOffset == SkinItem::Centre ? Qt::AlignHCenter : Qt::AlignRight;
    }
    if (text.yOffset >= 0) {
        box.setTop(box.top() + text.yOffset);
        align |= Qt::AlignTop;
    } else {
        align |= Qt::AlignVCenter;
    }
    box = box.marginsRemoved(item.textMargins);
    painter.setFont(text.font);
    painter.setPen(item.state != SkinItem::Normal ? text.hotColour : text.colour);
    const QString shown = painter.fontMetrics().elidedText(text.text, Qt::ElideRight, box.width());
    painter.drawText(box, align | Qt::TextSingleLine, shown);
}

} // namespace

void drawSkinItem(QPainter &painter, const SkinItem &item, QPoint offset)
{
    // The rectangle is drawn with its right and bottom edges.
    const QRect rect = QRect(QPoint(item.left, item.top), QPoint(item.right, item.bottom)).translated(offset);
    painter.save();
    // A button switched off for now (it has a hot look but takes no click)
    // is drawn faded.
    if (!item.has(SkinItem::Enabled) && !item.hotImage.isNull() && item.offImage.isNull())
        painter.setOpacity(0.45);
    if (!item.has(SkinItem::Transparent) && !item.has(SkinItem::NoFill))
        painter.fillRect(rect, item.fillColour);
    // A pressed item sinks by a pixel.
    const QRect content = item.state == SkinItem::Pressed ? rect.translated(1, 1) : rect;
    const QRect textArea = drawImage(painter, item, content);
    for (const SkinItem::Text &text : item.texts)
        drawText(painter, item, text, textArea);
    if (item.leftLine || item.rightLine) {
        painter.setPen(item.lineColour);
        if (item.leftLine)
            painter.drawLine(rect.left(), rect.top(), rect.left(), rect.bottom() - 1);
        if (item.rightLine)
            painter.drawLine(rect.right() - 1, rect.top(), rect.right() - 1, rect.bottom() - 1);
    }
    painter.restore();
}
