#pragma once

#include "skinimage.h"

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QMenu>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVariant>
#include <array>
#include <memory>

// One drawn button or label of a custom-drawn window.
struct SkinItem
{
    enum Flag : quint32
    {
        Transparent = 1,
        Enabled = 2,
        Hidden = 4,
        Stretch = 8,
        ThreeSlice = 16,
        NoFill = 32,
        OwnerDrawn = 64,
    };
    enum State
    {
        Normal = 0,
        Hot = 1,
        Pressed = 2,
    };
    enum Anchor : quint32
    {
        AnchorRight = 1,
        AnchorBottom = 2,
    };
    // Text offsets below zero align instead of offsetting.
    static constexpr int Centre = -1;
    static constexpr int AlignRight = -2;

    struct Text
    {
        QString text; // empty: nothing drawn
        int xOffset = 0;
        int yOffset = 0;
        QColor colour;
        QColor hotColour;
        QFont font;
    };

    SkinImage normalImage;
    SkinImage hotImage; // Hot and Pressed; the normal image when none
    // Drawn while the item is switched off (not Enabled); without it a
    // switched-off item with a hot look is drawn faded.
    SkinImage offImage;
    QColor fillColour;
    std::array<Text, 2> texts;
    // Client coordinates; right and bottom belong to the item when it is
    // filled, a point is on it from left to right - 1.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    quint32 flags = 0;
    State state = Normal;
    QVariant data; // what the owner attaches; reported with a click
    int id = 0;    // reported on click
    bool leftLine = false;
    bool rightLine = false;
    QColor lineColour;
    quint32 anchoring = 0;
    int rightDistance = 0;
    int bottomDistance = 0;
    QMargins textMargins;
    // Opened instead of a plain click report; its actions' data is the
    // command reported.
    std::unique_ptr<QMenu> menu;
    QPoint menuOffset; // from the item's bottom-left corner
    // What a screen reader says for an item without a caption ("Fechar").
    QString accessibleName;

    bool has(quint32 flag) const { return (flags & flag) != 0; }
    bool isClickable() const { return has(Enabled) && !has(Hidden); }
    // The area that takes the mouse.
    QRect hitRect() const { return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)); }
    // What a screen reader says: the first caption, else the accessible name.
    QString spokenName() const;
};

// An item at (x, y) of that size (0: the normal image's), with its images
// (none when a name is empty) loaded as kept, in state Normal.
std::unique_ptr<SkinItem> makeSkinItem(SkinCache &cache, int x, int y, int width, int height, int id,
                                       const QString &image, const QString &imageMask,
                                       const QString &hotImage, const QString &hotMask, quint32 flags,
                                       QColor fillColour = {});
