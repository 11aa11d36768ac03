#pragma once

#include <QList>
#include <QString>
#include <optional>

class OperatorInteraction;
class QPrinter;
struct VoucherDesign;
struct VoucherRecord;

// Chooses the printer of a job whose design names none, or one that is not
// installed: the windows show the print dialog, the command line takes a named
// or the default printer. Gives the chosen printer's name; nothing when the
// operator cancelled or there is no printer.
class PrinterChooser
{
public:
    virtual ~PrinterChooser();
    virtual std::optional<QString> choosePrinter(QPrinter &printer) = 0;
};

// Whether a printer of that name is installed.
bool lookupPrinter(const QString &name);

enum class PrintOutcome
{
    Printed,
    NothingToPrint, // no vouchers and not a test print
    Cancelled,      // no printer was chosen
    Failed          // the operator has been told why
};

// Prints the vouchers (or, for a test print, one sheet of samples) with the
// design on its printer, else on the chosen one, laid out in the design's grid
// (or one voucher a sheet of paper made to measure). Returns once the document
// is with the spooler.
PrintOutcome printVouchers(const VoucherDesign &design, const QList<const VoucherRecord *> &vouchers,
                           bool testPrint, PrinterChooser &chooser, OperatorInteraction &interaction);
