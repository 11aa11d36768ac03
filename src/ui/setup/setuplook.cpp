#include "setuplook.h"

#include <QWidget>

void useSetupFieldBackground(QWidget *widget)
{
    widget->setStyleSheet(QStringLiteral("QLineEdit { background: %1; }").arg(SetupFieldBackground.name()));
}
