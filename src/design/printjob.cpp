#include "printjob.h"

#include "voucherdesign.h"
#include "vouchersheets.h"

#include "base/operatorinteraction.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

using namespace Qt::StringLiterals;

PrinterChooser::~PrinterChooser() = default;

bool lookupPrinter(const QString &name)
{
    return !name.isEmpty() && !QPrinterInfo::printerInfo(name).isNull();
}

PrintOutcome printVouchers(const VoucherDesign &design, const QList<const VoucherRecord *> &vouchers,
                           bool testPrint, PrinterChooser &chooser, OperatorInteraction &interaction)
{
    if (!testPrint && vouchers.isEmpty())
        return PrintOutcome::NothingToPrint;

    QPrinter printer(QPrinter::HighResolution);
    QString name = design.Printer;
    if (!lookupPrinter(name)) {
        const std::optional<QString> chosen = chooser.choosePrinter(printer);
        if (!chosen)
            return PrintOutcome::Cancelled;
        name = *chosen;
    }
    // Given a name it does not know, the printer quietly stays on another one.
    printer.setPrinterName(name);
    if (!lookupPrinter(name) || printer.printerName() != name || !printer.isValid()) {
        interaction.showMessage(QCoreApplication::translate("PrintJob", "Impressora não encontrada."),
                                MessageIcon::Error);
        return PrintOutcome::Failed;
    }
    printer.setDocName(u"wifiTicketer"_s);
    printer.setFullPage(false);
    if (!design.FillPage && design.Width + design.Margin > 0 && design.Height + design.Margin > 0) {
        // Paper made to measure: one voucher and its margin.
        const QPageSize paper(
            QSizeF((design.Width + design.Margin) / 10.0, (design.Height + design.Margin) / 10.0),
            QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
        printer.setPageSize(paper);
    } else {
        // The paper the queue is set up with, not Qt's own default.
        const QPageSize paper = QPrinterInfo(printer).defaultPageSize();
        if (paper.isValid())
            printer.setPageSize(paper);
    }
    // The printable area is what the device can print, as the platform's
    // printer context reports it, not Qt's default margins.
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());

    WaitCursor wait(interaction);
    QPainter painter;
    if (!painter.begin(&printer)) {
        interaction.showMessage(
            QCoreApplication::translate("PrintJob", "Não é possível imprimir para a impressora selecionada.\n"
                                                    "A impressora não está respondendo."),
            MessageIcon::Error);
        return PrintOutcome::Failed;
    }
    const DeviceResolution resolution{printer.logicalDpiX(), printer.logicalDpiY()};
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    const PrintGrid grid = printGrid(design, printableTenths(printable.width(), resolution.dpiX),
                                     printableTenths(printable.height(), resolution.dpiY));
    RenderJob job = startRenderJob(design, resolution);
    drawVoucherSheets(
        painter, [&] { return printer.newPage(); }, layOutVouchers(design, grid, vouchers, testPrint), design,
        job);
    painter.end();
    return PrintOutcome::Printed;
}
