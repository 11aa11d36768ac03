#pragma once

#include <QAccessible>
#include <QString>

class QLineEdit;
class QObject;

// The visible accessible object below `root` (depth first) with that role and
// name, the way a screen reader finds a control by what it shows; null when
// there is none.
QAccessibleInterface *findAccessible(QObject *root, QAccessible::Role role, const QString &name);

// Presses it through its accessible press action; false when it has none.
bool pressAccessible(QAccessibleInterface *target);

// The widget behind the accessible object of that role and name, when it is a
// `Widget`; null otherwise.
template<class Widget>
Widget *findAccessibleWidget(QObject *root, QAccessible::Role role, const QString &name)
{
    QAccessibleInterface *found = findAccessible(root, role, name);
    return found ? qobject_cast<Widget *>(found->object()) : nullptr;
}

// A text field by the label that names it.
QLineEdit *findField(QObject *root, const QString &label);
