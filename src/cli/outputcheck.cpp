#include "outputcheck.h"

#include "clioptions.h"
#include "namechoices.h"

#include "design/printjob.h"
#include "design/voucherdesign.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

void tell(const QString &line)
{
    QTextStream(stderr) << "wifiticketer-cli: " << line << '\n';
}

// Whether the file can be written, found out without changing it: an existing
// file is opened to append (not truncated), a new one is made and removed.
std::optional<QString> pdfProblem(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return u"--pdf '%1' is a folder; name a file, such as '%2'"_s.arg(
            path, QDir(path).filePath(u"vouchers.pdf"_s));
    if (!info.absoluteDir().exists())
        return u"cannot write the PDF file '%1': the folder '%2' does not exist; create it or name a file "
               "in another folder"_s.arg(path, info.absolutePath());
    QFile file(path);
    const bool existed = info.exists() || info.isSymLink();
    if (!file.open(existed ? QIODevice::WriteOnly | QIODevice::Append
                           : QIODevice::WriteOnly | QIODevice::NewOnly))
        return u"cannot write the PDF file '%1' (%2); name a file in a folder you can write to"_s.arg(
            path, file.errorString());
    file.close();
    if (!existed)
        file.remove();
    return std::nullopt;
}

} // namespace

bool outputOptionsUsable(const CliOptions &options)
{
    if (options.pdf) {
        if (const std::optional<QString> problem = pdfProblem(*options.pdf)) {
            tell(*problem);
            return false;
        }
    }
    if (options.print && options.printer && !lookupPrinter(*options.printer)) {
        tell(u"no printer is named '%1'"_s.arg(*options.printer) +
             nameChoices(u"printers"_s, QPrinterInfo::availablePrinterNames()));
        return false;
    }
    return true;
}

bool printerAvailable(const VoucherDesign &design, const CliOptions &options)
{
    if (!options.print || options.printer || lookupPrinter(design.Printer) ||
        !QPrinterInfo::defaultPrinterName().isEmpty())
        return true;
    tell(u"no printer to print on: the design's printer is not installed and there is no default "
         "printer; name one with --printer"_s +
         nameChoices(u"printers"_s, QPrinterInfo::availablePrinterNames()));
    return false;
}
