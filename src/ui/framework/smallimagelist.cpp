#include "smallimagelist.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int CellWidth = 18;

} // namespace

QPixmap smallImage(int index)
{
    const QPixmap list(u":/ui/imagelist.png"_s);
    if (list.isNull() || index < 0 || (index + 1) * CellWidth > list.width())
        return QPixmap();
    return list.copy(index * CellWidth, 0, CellWidth, list.height());
}
