#pragma once

#include <QString>
#include <QtGlobal>

// The number of vouchers typed in the generator window.
struct VoucherCount
{
    // The most one run makes. A bigger count is a slip of the finger (a run
    // of this size already takes a long while) and would otherwise wrap round
    // the 32 bits a run counts in.
    static constexpr quint32 Maximum = 10000;

    enum Status
    {
        Nothing, // empty, zero or not a number: nothing to make
        Count,   // `count` vouchers, 1 to Maximum
        TooMany  // more than Maximum, however many digits
    };

    Status status = Nothing;
    quint32 count = 0;
};

// Reads the decimal count of the field, leading zeros allowed.
VoucherCount parseVoucherCount(const QString &text);
