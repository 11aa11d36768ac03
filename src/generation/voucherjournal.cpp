#include "voucherjournal.h"

#include "credentials.h"
#include "voucherrecord.h"

#include "config/appsettings.h"

#include <algorithm>

VoucherJournal::~VoucherJournal() = default;

bool VoucherJournal::recordVouchers(const QList<VoucherRecord *> &records)
{
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (!recordVoucher(*records[i])) {
            // None goes: the ones written down already are let go again, the
            // last serial first so that every serial can be given back.
            for (qsizetype j = i - 1; j >= 0; --j)
                withdrawVoucher(*records[j]);
            return false;
        }
    }
    return true;
}

bool VoucherJournal::confirmVouchers(const QList<const VoucherRecord *> &records)
{
    bool recorded = true;
    for (const VoucherRecord *record : records)
        recorded = confirmVoucher(*record) && recorded;
    return recorded;
}

void VoucherJournal::withdrawVouchers(const QList<const VoucherRecord *> &records)
{
    QList<const VoucherRecord *> ordered = records;
    std::sort(ordered.begin(), ordered.end(),
              [](const VoucherRecord *a, const VoucherRecord *b) { return a->Serial > b->Serial; });
    for (const VoucherRecord *record : ordered)
        withdrawVoucher(*record);
}

bool SerialOnlyJournal::recordVoucher(VoucherRecord &record)
{
    takeSerial(record, m_settings);
    return true;
}

void SerialOnlyJournal::withdrawVoucher(const VoucherRecord &record)
{
    giveBackSerial(record, m_settings);
}

void takeSerial(VoucherRecord &record, AppSettings &settings)
{
    // Serials start at 1: 0 is a record that has none yet.
    if (record.Serial == 0)
        record.Serial = nextSerial(settings);
}

void giveBackSerial(const VoucherRecord &record, AppSettings &settings)
{
    if (record.Serial != 0 && settings.VoucherSerial == record.Serial + 1)
        settings.VoucherSerial = record.Serial;
}
