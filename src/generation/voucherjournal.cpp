#include "voucherjournal.h"

#include "credentials.h"
#include "voucherrecord.h"

#include "config/appsettings.h"

VoucherJournal::~VoucherJournal() = default;

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
