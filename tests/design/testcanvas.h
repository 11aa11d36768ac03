#pragma once

#include <QImage>
#include <QRect>

// A white page of `size` pixels whose dots per metre give exactly `dpi`.
QImage whiteCanvas(QSize size, int dpi);

// The smallest rectangle holding every pixel darker than mid-grey; empty when
// there is none.
QRect inkBounds(const QImage &image);

// Whether every pixel of the image is white.
bool isBlank(const QImage &image);
