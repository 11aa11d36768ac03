#include "uiresources.h"

#include "smallimagelist.h"

QPixmap UiResources::listImage(int index) const
{
    return smallImage(index);
}

QFont uiFont(int pixelHeight)
{
    // Calibri where it is installed; Carlito has its metrics.
    QFont font(QStringLiteral("Calibri"));
    font.setFamilies({QStringLiteral("Calibri"), QStringLiteral("Carlito")});
    font.setPixelSize(pixelHeight);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void loadUiResources(UiResources &resources)
{
    resources.uiFont16 = uiFont(16);
    resources.uiFont18 = uiFont(18);
    resources.uiFont21 = uiFont(21);
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        resources.appIcon.addFile(QStringLiteral(":/ui/appicon-%1.png").arg(size), QSize(size, size));
}
