#include "vouchersheets.h"

#include <QPainter>

void drawVoucherSheets(QPainter &painter, const std::function<bool()> &nextSheet,
                       const QList<PlacedVoucher> &placed, const VoucherDesign &design, RenderJob &job)
{
    int sheet = placed.isEmpty() ? 0 : placed.first().sheet;
    for (const PlacedVoucher &voucher : placed) {
        if (voucher.sheet != sheet) {
            if (!nextSheet())
                return;
            sheet = voucher.sheet;
        }
        painter.save();
        renderVoucher(painter, voucher.voucher, voucher.rect, design, job);
        painter.restore();
    }
}

qint32 printableTenths(int pixels, int dpi)
{
    // To hundredths of a millimetre, then tenths, cut.
    return mulDiv(pixels, 2540, dpi) / 10;
}
