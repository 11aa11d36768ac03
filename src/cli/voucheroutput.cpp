#include "voucheroutput.h"

#include "namechoices.h"

#include "clioptions.h"
#include "defaultprinterchooser.h"

#include "design/voucherpdf.h"
#include "session/appstate.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

std::optional<const VoucherDesign *> chosenDesign(const AppState &state, const CliOptions &options,
                                                  const VoucherDesign *profileDesign)
{
    if (options.design) {
        if (const VoucherDesign *named = findDesign(state.designs, *options.design))
            return named;
        QStringList names;
        for (const std::shared_ptr<VoucherDesign> &design : state.designs)
            names.append(design->Name);
        QTextStream(stderr) << u"wifiticketer-cli: no design is named '%1'"_s.arg(*options.design)
                            << nameChoices(u"designs"_s, names) << '\n';
        return std::nullopt;
    }
    return profileDesign ? profileDesign : &state.defaultDesign;
}

bool outputVouchers(const VoucherDesign &design, const QList<const VoucherRecord *> &vouchers, bool testPrint,
                    const CliOptions &options, OperatorInteraction &interaction)
{
    bool ok = true;
    if (options.pdf) {
        WaitCursor wait(interaction);
        if (!writeVoucherPdf(*options.pdf, design, vouchers, testPrint)) {
            QTextStream(stderr) << u"wifiticketer-cli: cannot write the PDF file '%1'\n"_s.arg(*options.pdf);
            ok = false;
        }
    }
    if (options.print) {
        VoucherDesign printed = design;
        if (options.printer)
            printed.Printer = *options.printer;
        DefaultPrinterChooser chooser(options.printer.value_or(QString()));
        switch (printVouchers(printed, vouchers, testPrint, chooser, interaction)) {
        case PrintOutcome::Printed:
        case PrintOutcome::NothingToPrint:
            break;
        case PrintOutcome::Cancelled:
            QTextStream(stderr)
                << "wifiticketer-cli: no printer: name one with --printer or set a default printer\n";
            ok = false;
            break;
        case PrintOutcome::Failed:
            ok = false;
            break;
        }
    }
    return ok;
}
