#pragma once

#include "design/voucherdesign.h"

#include <QByteArray>

// The designs the fixtures of tests/data hold, written out by hand.
VoucherDesign cafeDesign();  // Voucher.bin, first design
VoucherDesign emptyDesign(); // Voucher.bin, second design
VoucherDesign oldDesign();   // Voucher-old.bin

// Every design of the bytes, read as Voucher.bin.
DesignList designsOf(const QByteArray &bytes);

// What QtTest shows of a design when a comparison fails.
char *toString(const VoucherDesign &design);
