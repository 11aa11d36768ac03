#pragma once

#include "printgrid.h"

#include <functional>

class QPainter;

// Draws laid-out vouchers sheet after sheet on one painter. `nextSheet` is
// called before every sheet after the first; when it returns false the drawing
// stops.
void drawVoucherSheets(QPainter &painter, const std::function<bool()> &nextSheet,
                       const QList<PlacedVoucher> &placed, const VoucherDesign &design, RenderJob &job);

// The printable area's size in tenths of a millimetre from its size in device
// pixels, as a print job measures it.
qint32 printableTenths(int pixels, int dpi);
