#pragma once

#include <QColor>

class QWidget;

// The setup's text fields are painted on light cream.
inline const QColor SetupFieldBackground(255, 253, 232);

// Gives the line edits among `widget`'s children the setup's field background.
void useSetupFieldBackground(QWidget *widget);
