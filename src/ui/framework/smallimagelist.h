#pragma once

#include <QPixmap>

// One image of the program's small image list (":/ui/imagelist.png", 18-pixel
// cells side by side); a null pixmap when the list or the image is missing.
QPixmap smallImage(int index);
