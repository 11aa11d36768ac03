#pragma once

#include <QAccessible>
#include <QString>

class QObject;

// The visible accessible object below `root` (depth first) with that role and
// name, the way a screen reader finds a control by what it shows; null when
// there is none.
QAccessibleInterface *findAccessible(QObject *root, QAccessible::Role role, const QString &name);

// Presses it through its accessible press action; false when it has none.
bool pressAccessible(QAccessibleInterface *target);
