#include "printdialogprinterchooser.h"

#include <QPrintDialog>
#include <QPrinter>

PrintDialogPrinterChooser::PrintDialogPrinterChooser(QWidget *parent, DialogRunner runner)
    : m_parent(parent), m_runner(std::move(runner))
{
    if (!m_runner)
        m_runner = [](QPrintDialog &dialog) { return dialog.exec() == QDialog::Accepted; };
}

std::optional<QString> PrintDialogPrinterChooser::choosePrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, m_parent);
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    if (!m_runner(dialog))
        return std::nullopt;
    // Output to a file has no printer name; the job needs a printer.
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty())
        return std::nullopt;
    return printer.printerName();
}
