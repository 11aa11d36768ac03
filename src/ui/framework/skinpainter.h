#pragma once

#include <QPoint>
#include <QSize>

class QPainter;
class QPixmap;
struct SkinImage;
struct SkinItem;

// Drawing of the custom-drawn windows, in one place for every window.

// The window's skin rendered at `size` as nine slices: corners as they are,
// edges stretched along their length, the centre both ways.
QPixmap renderSkin(const SkinImage &skin, QSize size);

// Draws the item at its own place, shifted by `offset` (an owner drawing an
// OwnerDrawn item into a buffer of its own).
void drawSkinItem(QPainter &painter, const SkinItem &item, QPoint offset = {});
