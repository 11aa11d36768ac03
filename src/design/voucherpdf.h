#pragma once

#include <QList>
#include <QString>

struct VoucherDesign;
struct VoucherRecord;

// The resolution voucher PDFs are laid out at.
constexpr int VoucherPdfResolution = 600;

// Writes the vouchers to a PDF file laid out exactly as a print job lays them
// out: on A4 sheets with a printable area 5 mm inside each edge when the design
// fills pages, else on pages of the voucher's size plus its margin. A test
// print is one sheet of samples. False when the file cannot be written; nothing
// is written for no vouchers.
bool writeVoucherPdf(const QString &path, const VoucherDesign &design,
                     const QList<const VoucherRecord *> &vouchers, bool testPrint);
