#pragma once

#include "design/printjob.h"

#include <QString>

// The command line's printer: the one named, else the system's default
// printer, without a dialog.
class DefaultPrinterChooser : public PrinterChooser
{
public:
    explicit DefaultPrinterChooser(QString name) : m_name(std::move(name)) {}
    std::optional<QString> choosePrinter(QPrinter &printer) override;

private:
    QString m_name;
};
