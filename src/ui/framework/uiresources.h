#pragma once

#include "skinimage.h"

#include <QFont>
#include <QIcon>
#include <QPixmap>

// What every window of the program shares, made once at start-up: the skin
// cache, the three interface fonts and the application icon.
struct UiResources
{
    SkinCache skins;
    QFont uiFont16; // "Calibri" (Carlito where Calibri is missing) of 16, 18 and 21 px
    QFont uiFont18;
    QFont uiFont21;
    QIcon appIcon;

    // Image `index` of the 18-px image list of the list views (smallImage).
    QPixmap listImage(int index) const;
};

// Loads the artwork from the program's resources.
void loadUiResources(UiResources &resources);

// The interface font of that pixel height.
QFont uiFont(int pixelHeight);
