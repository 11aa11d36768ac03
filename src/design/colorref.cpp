#include "colorref.h"

QColor colourOfColorRef(quint32 colorRef)
{
    return QColor(int(colorRef & 0xFF), int(colorRef >> 8 & 0xFF), int(colorRef >> 16 & 0xFF));
}
