#pragma once

#include <QString>

struct VoucherRecord;

// Fills the field tags of a design text or barcode content: "${name}" with
// the voucher's value of the tag; blanks inside the braces are dropped and the
// name may be written in any case. A tag of an unknown name vanishes with its
// braces. Without a voucher (a test print) every tag shows its own name.
// Dates and times are written in local time with the C locale's "%x" date.
QString expandTags(const QString &text, const VoucherRecord *voucher);
