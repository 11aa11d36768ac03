#include "defaultprinterchooser.h"

#include <QPrinterInfo>

std::optional<QString> DefaultPrinterChooser::choosePrinter(QPrinter &)
{
    const QString name = m_name.isEmpty() ? QPrinterInfo::defaultPrinterName() : m_name;
    if (name.isEmpty())
        return std::nullopt;
    return name;
}
