#include "voucherpdf.h"

#include "voucherdesign.h"
#include "vouchersheets.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

using namespace Qt::StringLiterals;

namespace {

QPageLayout pdfPageLayout(const VoucherDesign &design)
{
    const qint32 width = design.Width + design.Margin;
    const qint32 height = design.Height + design.Margin;
    if (!design.FillPage && width > 0 && height > 0) {
        const QPageSize size(QSizeF(width / 10.0, height / 10.0), QPageSize::Millimeter, QString(),
                             QPageSize::ExactMatch);
        return QPageLayout(size, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
    }
    // An A4 printer with the usual 5 mm unprintable border.
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                       QPageLayout::Millimeter);
}

} // namespace

bool writeVoucherPdf(const QString &path, const VoucherDesign &design,
                     const QList<const VoucherRecord *> &vouchers, bool testPrint)
{
    if (!testPrint && vouchers.isEmpty())
        return true;
    QPdfWriter writer(path);
    writer.setResolution(VoucherPdfResolution);
    writer.setCreator(u"wifiTicketer"_s);
    writer.setTitle(u"wifiTicketer"_s);
    if (!writer.setPageLayout(pdfPageLayout(design)))
        return false;

    const QRect printable = writer.pageLayout().paintRectPixels(VoucherPdfResolution);
    const DeviceResolution resolution{VoucherPdfResolution, VoucherPdfResolution};
    const PrintGrid grid = printGrid(design, printableTenths(printable.width(), resolution.dpiX),
                                     printableTenths(printable.height(), resolution.dpiY));
    const QList<PlacedVoucher> placed = layOutVouchers(design, grid, vouchers, testPrint);

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    RenderJob job = startRenderJob(design, resolution);
    drawVoucherSheets(
        painter, [&] { return writer.newPage(); }, placed, design, job);
    return painter.end();
}
