#include "designwndaccessible.h"

#include "cdesignwnd.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <algorithm>

namespace {

bool holds(const CDesignWnd *window, const SkinItem *item)
{
    return std::any_of(window->items().begin(), window->items().end(),
                       [item](const std::unique_ptr<SkinItem> &held) { return held.get() == item; });
}

// The items a screen reader sees: those drawn.
QList<const SkinItem *> shownItems(const CDesignWnd *window)
{
    QList<const SkinItem *> shown;
    for (const std::unique_ptr<SkinItem> &item : window->items()) {
        if (!item->has(SkinItem::Hidden))
            shown.append(item.get());
    }
    return shown;
}

class SkinItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    SkinItemAccessible(CDesignWnd *window, const SkinItem *item) : m_window(window), m_item(item) {}

    bool isValid() const override { return m_window && holds(m_window, m_item); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_window ? m_window->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_window); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return m_item->spokenName();
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        return QRect(m_window->mapToGlobal(QPoint(m_item->left, m_item->top)),
                     QSize(m_item->right - m_item->left, m_item->bottom - m_item->top));
    }

    QAccessible::Role role() const override
    {
        if (!isValid() || !isButton())
            return QAccessible::StaticText;
        return m_item->menu ? QAccessible::ButtonMenu : QAccessible::Button;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.disabled = isButton() && !m_item->has(SkinItem::Enabled);
        s.hotTracked = m_item->state == SkinItem::Hot;
        s.pressed = m_item->state == SkinItem::Pressed;
        s.hasPopup = m_item->menu != nullptr;
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface && isValid() && isButton())
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }

    QStringList actionNames() const override
    {
        return isValid() && m_item->isClickable() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid())
            m_window->pressItem(*const_cast<SkinItem *>(m_item));
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    // An item that takes clicks, or one with the look of a button that is
    // switched off for now; labels and frames read as text.
    bool isButton() const
    {
        return m_item->has(SkinItem::Enabled) || (m_item->id != 0 && !m_item->hotImage.isNull());
    }

    QPointer<CDesignWnd> m_window;
    const SkinItem *m_item;
};

// The window: its child widgets, then its items.
class DesignWndAccessible : public QAccessibleWidget
{
public:
    explicit DesignWndAccessible(CDesignWnd *window)
        : QAccessibleWidget(window, window->isWindow() ? QAccessible::Window : QAccessible::Client)
    {
    }

    int childCount() const override
    {
        return QAccessibleWidget::childCount() + int(shownItems(designWnd()).size());
    }

    QAccessibleInterface *child(int index) const override
    {
        const int widgets = QAccessibleWidget::childCount();
        if (index < widgets)
            return QAccessibleWidget::child(index);
        const QList<const SkinItem *> items = shownItems(designWnd());
        index -= widgets;
        return index >= 0 && index < items.size() ? skinItemAccessible(designWnd(), items[index]) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const int widgets = QAccessibleWidget::childCount();
        const QList<const SkinItem *> items = shownItems(designWnd());
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (skinItemAccessible(designWnd(), items[i]) == child)
                return widgets + int(i);
        }
        return QAccessibleWidget::indexOfChild(child);
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        if (QAccessibleInterface *widget = QAccessibleWidget::childAt(x, y))
            return widget;
        const QPoint local = designWnd()->mapFromGlobal(QPoint(x, y));
        const QList<const SkinItem *> items = shownItems(designWnd());
        for (auto it = items.rbegin(); it != items.rend(); ++it) {
            if ((*it)->hitRect().contains(local))
                return skinItemAccessible(designWnd(), *it);
        }
        return nullptr;
    }

private:
    CDesignWnd *designWnd() const { return static_cast<CDesignWnd *>(widget()); }
};

QAccessibleInterface *designWndFactory(const QString &, QObject *object)
{
    if (auto *window = qobject_cast<CDesignWnd *>(object))
        return new DesignWndAccessible(window);
    return nullptr;
}

} // namespace

void installDesignWndAccessibility()
{
    static const bool installed = (QAccessible::installFactory(designWndFactory), true);
    Q_UNUSED(installed);
}

QAccessibleInterface *skinItemAccessible(CDesignWnd *window, const SkinItem *item)
{
    QHash<const SkinItem *, QAccessible::Id> &ids = window->m_accessibleItems;
    if (const auto found = ids.constFind(item); found != ids.cend())
        return QAccessible::accessibleInterface(*found);
    auto *made = new SkinItemAccessible(window, item);
    ids.insert(item, QAccessible::registerAccessibleInterface(made));
    return made;
}
