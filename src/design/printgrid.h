#pragma once

#include "voucherrender.h"

#include <QList>

struct VoucherDesign;
struct VoucherRecord;

// How vouchers sit on a sheet: columns and rows of equal cells filling the
// printable area (lengths in tenths of a millimetre).
struct PrintGrid
{
    int columns = 1;
    int rows = 1;
    qint32 cellWidth = 0;
    qint32 cellHeight = 0;

    friend bool operator==(const PrintGrid &, const PrintGrid &) = default;
};

// The grid of the design on a printable area of the given size. A design that
// does not fill the page has one voucher a sheet.
PrintGrid printGrid(const VoucherDesign &design, qint32 printableWidth, qint32 printableHeight);

// The rectangle of the voucher in the cell, centred.
VoucherRect voucherRectangle(const PrintGrid &grid, const VoucherDesign &design, int column, int row);

// One voucher drawn: on which sheet (from 0) and where; no voucher for a
// sample of a test print.
struct PlacedVoucher
{
    int sheet = 0;
    VoucherRect rect;
    const VoucherRecord *voucher = nullptr;
};

// Where each voucher and each of its copies goes: sheets filled left to right,
// then top to bottom, the copies of a voucher one after another. A test print
// fills exactly one sheet with samples.
QList<PlacedVoucher> layOutVouchers(const VoucherDesign &design, const PrintGrid &grid,
                                    const QList<const VoucherRecord *> &vouchers, bool testPrint);

// The copies of each voucher: the design's value kept within 1..255.
int printCopies(const VoucherDesign &design);
