#pragma once

#include "design/printjob.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QPrintDialog;

// The windows' printer choice: the print dialog over the parent window, without
// page ranges, selection or printing to a file (copies and collation are the
// printer driver's).
class PrintDialogPrinterChooser : public PrinterChooser
{
public:
    // Runs the prepared dialog; true when the operator accepted it. Tests
    // answer in place of the operator; by default the dialog is shown modally.
    using DialogRunner = std::function<bool(QPrintDialog &dialog)>;

    explicit PrintDialogPrinterChooser(QWidget *parent, DialogRunner runner = {});

    std::optional<QString> choosePrinter(QPrinter &printer) override;

private:
    QPointer<QWidget> m_parent;
    DialogRunner m_runner;
};
