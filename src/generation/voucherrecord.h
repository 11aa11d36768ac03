#pragma once

#include <QString>
#include <deque>
#include <memory>

struct VoucherProfile;

// One generated voucher.
struct VoucherRecord
{
    QString UserName;
    QString Password;
    QString Generator; // the program user logged in at creation
    std::shared_ptr<const VoucherProfile> Profile;
    qint64 Created = 0; // seconds since 1970, UTC
    qint64 Expires = 0;
    quint32 Serial = 0; // printed as nine digits
    bool HotSpotUser = false;
    bool RandomName = false;
    QString FirstName;
    QString LastName;
    QString Phone;
    QString Location;
    QString Comment;
    QString Email;
};

// The vouchers of the current or last generation run, in creation order. A
// deque, so the record being filled stays put while others are added.
using BatchList = std::deque<VoucherRecord>;

// An empty record for the profile, appended to the batch.
VoucherRecord &newVoucherRecord(BatchList &batch, std::shared_ptr<const VoucherProfile> profile);
// Takes a record out of the batch again (its creation failed or was cancelled).
void removeVoucherRecord(BatchList &batch, const VoucherRecord &record);
void clearBatch(BatchList &batch);

// The serial as printed: nine digits.
QString formatSerial(quint32 serial);
