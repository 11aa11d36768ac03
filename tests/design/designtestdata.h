#pragma once

#include "design/voucherdesign.h"

#include <QByteArray>
#include <QIODevice>

// The designs the fixtures of tests/data hold, written out by hand.
VoucherDesign cafeDesign();  // Voucher.bin, first design
VoucherDesign emptyDesign(); // Voucher.bin, second design
VoucherDesign oldDesign();   // Voucher-old.bin

// Every design of the bytes, read as Voucher.bin.
DesignList designsOf(const QByteArray &bytes);
// The designs themselves, for comparing lists.
QList<VoucherDesign> valuesOf(const DesignList &designs);
DesignList listOf(const QList<VoucherDesign> &designs);

// What QtTest shows of a design when a comparison fails.
char *toString(const VoucherDesign &design);
