#include "voucherrecord.h"

#include <algorithm>

VoucherRecord &newVoucherRecord(BatchList &batch, std::shared_ptr<const VoucherProfile> profile)
{
    VoucherRecord &record = batch.emplace_back();
    record.Profile = std::move(profile);
    return record;
}

void removeVoucherRecord(BatchList &batch, const VoucherRecord &record)
{
    auto at = std::find_if(batch.begin(), batch.end(), [&](const VoucherRecord &r) { return &r == &record; });
    if (at != batch.end())
        batch.erase(at);
}

void clearBatch(BatchList &batch)
{
    batch.clear();
}

QString formatSerial(quint32 serial)
{
    return QString::asprintf("%09u", serial);
}
