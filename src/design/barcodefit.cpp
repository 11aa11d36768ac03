#include "barcodefit.h"

#include <algorithm>

namespace {

constexpr float MinimumScale = 0.5f;
constexpr float MaximumScale = 100.0f;
constexpr int MaximumHeight = 1000;

} // namespace

BarcodeAttributes barcodeAttributes(quint32 attributes)
{
    const quint32 flags = attributes >> 24;
    return {attributes & 0xFFFFFF, (flags & 1) != 0, int(flags >> 1 & 3)};
}

int barcodeRotationAngle(int rotationIndex)
{
    switch (rotationIndex & 3) {
    case 1:
        return 270;
    case 2:
        return 180;
    case 3:
        return 90;
    default:
        return 0;
    }
}

float barcodeScale(int boxWidth, int defaultBitmapWidth)
{
    if (defaultBitmapWidth == 0)
        return MinimumScale;
    const qint64 modulePixels = 2 * qint64(boxWidth) / defaultBitmapWidth;
    // A box of negative width (drawn leftwards) fits no module either.
    if (modulePixels <= 0)
        return MinimumScale;
    return float(std::min<qint64>(modulePixels, qint64(2 * MaximumScale))) * 0.5f;
}

float barcodeHeight(int boxHeight, float scale, int defaultBitmapHeight, float defaultHeight, int rows)
{
    const int fitted = int(double(boxHeight) / (2.0 * double(scale)));
    const int overhead = defaultBitmapHeight / 2 - int(defaultHeight);
    int height = fitted > overhead ? fitted - overhead : fitted;
    height = std::min(height, MaximumHeight);
    return float(std::max(height, std::max(1, (rows + 1) / 2)));
}
