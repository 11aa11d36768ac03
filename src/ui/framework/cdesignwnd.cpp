#include "cdesignwnd.h"

#include "designwndaccessible.h"
#include "skinpainter.h"
#include "windowcompositing.h"

#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointingDevice>
#include <QScreen>
#include <QWindow>

CDesignWnd::CDesignWnd(SkinCache &skins, QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags | Qt::FramelessWindowHint), m_skins(skins)
{
    installDesignWndAccessibility();
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAttribute(Qt::WA_TranslucentBackground);
    m_shapedByAlpha = !windowSystemComposites();
}

CDesignWnd::~CDesignWnd()
{
    for (const QAccessible::Id id : std::as_const(m_accessibleItems))
        QAccessible::deleteAccessibleInterface(id);
}

void CDesignWnd::setSkin(const SkinImage &skin)
{
    m_skin = skin;
    renderBackground();
    update();
}

void CDesignWnd::setShapedByAlpha(bool shaped)
{
    m_shapedByAlpha = shaped;
    renderBackground();
}

void CDesignWnd::renderBackground()
{
    m_background = renderSkin(m_skin, size());
    if (!m_shapedByAlpha)
        clearMask();
    else if (!m_skin.isNull())
        setMask(opaqueRegion(m_background.toImage()));
}

SkinItem &CDesignWnd::addItem(std::unique_ptr<SkinItem> item)
{
    SkinItem &added = *item;
    if (added.anchoring & SkinItem::AnchorRight)
        added.rightDistance = width() - added.right;
    if (added.anchoring & SkinItem::AnchorBottom)
        added.bottomDistance = height() - added.bottom;
    m_items.push_back(std::move(item));
    repaintItem(added);
    return added;
}

SkinItem *CDesignWnd::item(int id) const
{
    for (const std::unique_ptr<SkinItem> &item : m_items) {
        if (item->id == id)
            return item.get();
    }
    return nullptr;
}

void CDesignWnd::clearHover()
{
    for (const std::unique_ptr<SkinItem> &item : m_items)
        setState(*item, SkinItem::Normal);
}

void CDesignWnd::reanchor()
{
    for (const std::unique_ptr<SkinItem> &item : m_items) {
        if (item->anchoring & SkinItem::AnchorRight) {
            const int right = width() - item->rightDistance;
            item->left += right - item->right;
            item->right = right;
        }
        if (item->anchoring & SkinItem::AnchorBottom) {
            const int bottom = height() - item->bottomDistance;
            item->top += bottom - item->bottom;
            item->bottom = bottom;
        }
    }
    update();
}

void CDesignWnd::repaintItem(const SkinItem &item)
{
    if (!item.has(SkinItem::Hidden))
        update(QRect(QPoint(item.left, item.top), QPoint(item.right + 1, item.bottom + 1)));
}

void CDesignWnd::setState(SkinItem &item, SkinItem::State state)
{
    if (item.state == state)
        return;
    item.state = state;
    repaintItem(item);
}

void CDesignWnd::paintContent(QPainter &, const QRect &) {}

void CDesignWnd::paintEvent(QPaintEvent *event)
{
    if (m_background.size() != size())
        renderBackground();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(event->rect(), m_background, event->rect());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    paintContent(painter, event->rect());
    for (const std::unique_ptr<SkinItem> &item : m_items) {
        if (item->has(SkinItem::Hidden) || item->has(SkinItem::OwnerDrawn))
            continue;
        if (QRect(QPoint(item->left, item->top), QPoint(item->right, item->bottom)).intersects(event->rect()))
            drawSkinItem(painter, *item);
    }
}

void CDesignWnd::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_dragging) {
        move(event->globalPosition().toPoint() - m_grab);
        return;
    }
    // Items light up only under the mouse of the window in front.
    const bool over = isActiveWindow() && rect().contains(pos);
    for (const std::unique_ptr<SkinItem> &item : m_items) {
        if (!item->isClickable())
            continue;
        if (!over || !item->hitRect().contains(pos))
            setState(*item, SkinItem::Normal);
        else if (item->state != SkinItem::Pressed)
            setState(*item, SkinItem::Hot);
    }
}

void CDesignWnd::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    bool pressed = false;
    for (const std::unique_ptr<SkinItem> &item : m_items) {
        if (!item->isClickable())
            continue;
        const bool inside = item->hitRect().contains(pos);
        setState(*item, inside ? SkinItem::Pressed : SkinItem::Normal);
        pressed = pressed || inside;
    }
    if (pressed || pos.y() > DragBand || isFullScreenSized() || parentWidget() && !isWindow())
        return;
    // The window system moves the window where it can; elsewhere the window
    // follows the mouse itself.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_grab = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CDesignWnd::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    const QPoint pos = event->position().toPoint();
    // A finger leaves no mouse behind: nothing stays lit after a touch.
    const bool touch =
        event->pointingDevice() && event->pointingDevice()->type() == QInputDevice::DeviceType::TouchScreen;
    for (const std::unique_ptr<SkinItem> &item : m_items) {
        if (!item->isClickable())
            continue;
        if (!item->hitRect().contains(pos)) {
            setState(*item, SkinItem::Normal);
            continue;
        }
        if (item->state != SkinItem::Pressed)
            continue;
        setState(*item, touch ? SkinItem::Normal : SkinItem::Hot);
        if (item->menu)
            openMenu(*item);
        else
            postCommand(item->id, item->data);
    }
}

void CDesignWnd::leaveEvent(QEvent *event)
{
    for (const std::unique_ptr<SkinItem> &item : m_items) {
        if (item->state == SkinItem::Hot)
            setState(*item, SkinItem::Normal);
    }
    QWidget::leaveEvent(event);
}

void CDesignWnd::resizeEvent(QResizeEvent *event)
{
    // The skin is rendered again only when the size changed.
    renderBackground();
    QWidget::resizeEvent(event);
}

void CDesignWnd::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        clearHover();
    QWidget::changeEvent(event);
}

void CDesignWnd::pressItem(SkinItem &item)
{
    if (!item.isClickable())
        return;
    if (item.menu) {
        // Opened once the caller is back in the event loop: a screen reader's
        // press never waits on the menu.
        QMetaObject::invokeMethod(
            this,
            [this, id = item.id] {
                if (SkinItem *target = this->item(id))
                    openMenu(*target);
            },
            Qt::QueuedConnection);
        return;
    }
    postCommand(item.id, item.data);
}

void CDesignWnd::postCommand(int id, const QVariant &choice)
{
    QMetaObject::invokeMethod(
        this, [this, id, choice] { Q_EMIT itemCommand(id, choice); }, Qt::QueuedConnection);
}

void CDesignWnd::openMenu(SkinItem &item)
{
    QMenu *menu = item.menu.get();
    const int id = item.id;
    setState(item, SkinItem::Normal);
    // One report per opening: the chosen command, or nothing when dismissed.
    QObject::disconnect(menu, &QMenu::triggered, this, nullptr);
    connect(menu, &QMenu::triggered, this, [this, menu, id](QAction *action) {
        QObject::disconnect(menu, &QMenu::triggered, this, nullptr);
        postCommand(id, action->data());
    });
    menu->popup(mapToGlobal(QPoint(item.left, item.bottom) + item.menuOffset));
}

bool CDesignWnd::isFullScreenSized() const
{
    const QScreen *shown = screen();
    return isFullScreen() || (shown && geometry() == shown->availableGeometry());
}
