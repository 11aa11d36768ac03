#pragma once

#include "skinimage.h"
#include "skinitem.h"

#include <QAccessible>
#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <memory>
#include <vector>

class CDesignWnd;
class QMenu;
QAccessibleInterface *skinItemAccessible(CDesignWnd *window, const SkinItem *item);

// A borderless, custom-drawn window: its skin as background and on it a list
// of drawn items that follow the mouse themselves and report clicks with
// itemCommand. A click fires on release, only when press and release are on
// the same item; a press outside the items in the top band drags the window
// (never in full screen). Items are exposed to screen readers as buttons
// (with a press action) or static texts.
class CDesignWnd : public QWidget
{
    Q_OBJECT

public:
    // The band at the top by which the window can be dragged.
    static constexpr int DragBand = 60;

    explicit CDesignWnd(SkinCache &skins, QWidget *parent = nullptr, Qt::WindowFlags flags = {});
    ~CDesignWnd() override;

    SkinCache &skins() const { return m_skins; }

    // The background, drawn as nine slices at the window's size.
    void setSkin(const SkinImage &skin);
    const SkinImage &skin() const { return m_skin; }

    // Appends an item; the list order is the drawing order.
    SkinItem &addItem(std::unique_ptr<SkinItem> item);
    const std::vector<std::unique_ptr<SkinItem>> &items() const { return m_items; }
    // The first item with this id, or none.
    SkinItem *item(int id) const;

    // Every item that is not Normal becomes Normal.
    void clearHover();
    // Puts the anchored items at their distances from the right and bottom.
    void reanchor();
    // Repaints one item.
    void repaintItem(const SkinItem &item);

    bool isDragging() const { return m_dragging; }

    // Whether the window's shape is cut from the skin's alpha, as it must be
    // where no compositor blends translucent windows. Set from the window
    // system when the window is made.
    void setShapedByAlpha(bool shaped);
    bool isShapedByAlpha() const { return m_shapedByAlpha; }

    // What a screen reader's press does: the item's command, queued; an item
    // with a menu opens it.
    void pressItem(SkinItem &item);

Q_SIGNALS:
    // An item was clicked (`choice` is the item's data), or a command of its
    // menu was chosen (`choice` is the action's data). Delivered queued, after the
    // mouse event that caused it.
    void itemCommand(int id, const QVariant &choice);

protected:
    // Draws what lies between the skin and the items; nothing by default.
    virtual void paintContent(QPainter &painter, const QRect &clip);

    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void setState(SkinItem &item, SkinItem::State state);
    void postCommand(int id, const QVariant &choice);
    void openMenu(SkinItem &item);
    bool isFullScreenSized() const;
    // The skin at the window's size, and the shape cut from it.
    void renderBackground();

    // The screen reader's interfaces of the items, made on first use.
    friend QAccessibleInterface *skinItemAccessible(CDesignWnd *window, const SkinItem *item);
    QHash<const SkinItem *, QAccessible::Id> m_accessibleItems;

    SkinCache &m_skins;
    SkinImage m_skin;
    QPixmap m_background; // the skin at the window's size
    std::vector<std::unique_ptr<SkinItem>> m_items;
    bool m_dragging = false;
    bool m_shapedByAlpha = false;
    QPoint m_grab;
};
