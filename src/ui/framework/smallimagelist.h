#pragma once

#include <QPixmap>

// The images of the small image list, by index.
enum SmallImageIndex : int
{
    RouterImage = 0,
    UserImage = 1,
    AdminUserImage = 2, // a program user with setup access
    ProfileImage = 3,
    UserManagerImage = 4,
    HotSpotImage = 5,
    RemovedVoucherImage = 6,
    NameCardImage = 7,
};

// One image of the program's small image list (":/ui/imagelist.png", 18-pixel
// cells side by side); a null pixmap when the list or the image is missing.
QPixmap smallImage(int index);
