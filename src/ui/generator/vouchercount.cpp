#include "vouchercount.h"

#include <algorithm>

VoucherCount parseVoucherCount(const QString &text)
{
    if (text.isEmpty() ||
        !std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return {};
    // Digits only: what does not fit 64 bits is too many as well.
    bool fits = false;
    const qulonglong value = text.toULongLong(&fits);
    if (!fits || value > VoucherCount::Maximum)
        return {VoucherCount::TooMany, 0};
    if (value == 0)
        return {};
    return {VoucherCount::Count, quint32(value)};
}
