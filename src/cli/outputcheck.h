#pragma once

struct CliOptions;
struct VoucherDesign;

// Whether the vouchers can go where the options send them, checked before
// anything is made on a router: the --pdf file can be written (without
// leaving a file behind), the --printer is installed. When not, the reason has
// been written to standard error as one line.
bool outputOptionsUsable(const CliOptions &options);

// For --print: whether there is a printer to print the design on (--printer,
// else the design's, else the default one). When not, the reason has been
// written to standard error as one line.
bool printerAvailable(const VoucherDesign &design, const CliOptions &options);
