#pragma once

class QImage;
class QRegion;

// Whether the window system blends translucent windows with what lies below
// them. On X11 that takes a compositing manager; where none runs, a window's
// transparent pixels show black and its shape has to be cut out instead.
bool windowSystemComposites();

// The pixels of the image that are more opaque than not.
QRegion opaqueRegion(const QImage &image);
