#pragma once

#include <QImage>
#include <QString>

// Whether an image source stands for the built-in card picture: any source
// that begins with "<", as "<Padrão>" does.
bool selectsBuiltInCard(const QString &source);

// The built-in card picture behind the default design: 800 x 547 pixels, 24
// bits per pixel.
QImage builtInCardImage();
