#include "accessiblesearch.h"

#include <QLineEdit>

namespace {

QAccessibleInterface *search(QAccessibleInterface *node, QAccessible::Role role, const QString &name)
{
    if (!node || node->state().invisible)
        return nullptr;
    if (node->role() == role && node->text(QAccessible::Name) == name)
        return node;
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface *found = search(node->child(i), role, name))
            return found;
    }
    return nullptr;
}

} // namespace

QAccessibleInterface *findAccessible(QObject *root, QAccessible::Role role, const QString &name)
{
    return search(QAccessible::queryAccessibleInterface(root), role, name);
}

bool pressAccessible(QAccessibleInterface *target)
{
    QAccessibleActionInterface *actions = target ? target->actionInterface() : nullptr;
    if (!actions || !actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
        return false;
    actions->doAction(QAccessibleActionInterface::pressAction());
    return true;
}

QLineEdit *findField(QObject *root, const QString &label)
{
    return findAccessibleWidget<QLineEdit>(root, QAccessible::EditableText, label);
}
