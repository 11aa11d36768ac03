#pragma once

#include <QColor>

// A colour of a design (COLORREF: red in the lowest byte, then green and blue;
// the top byte is not part of the colour).
QColor colourOfColorRef(quint32 colorRef);
