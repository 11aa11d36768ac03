#include "builtincard.h"

using namespace Qt::StringLiterals;

bool selectsBuiltInCard(const QString &source)
{
    return source.startsWith(u'<');
}

QImage builtInCardImage()
{
    return QImage(u":/design/card.png"_s).convertToFormat(QImage::Format_RGB888);
}
