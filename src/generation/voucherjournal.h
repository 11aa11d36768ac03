#pragma once

#include <QList>

struct AppSettings;
struct VoucherRecord;

// Where a run writes each voucher down while it is being made, so that no
// voucher the router holds goes unrecorded and no serial number is given twice.
class VoucherJournal
{
public:
    virtual ~VoucherJournal();

    // Before the voucher's add goes to the router (again, with its new name,
    // after a refused name): gives the record its serial number when it has none
    // and writes the voucher down. False when that could not be done: nothing
    // may be sent, and the run ends (the operator has been told).
    virtual bool recordVoucher(VoucherRecord &record) = 0;
    // The router holds the voucher. False when it could not be recorded
    // anywhere: the voucher stays made, the run ends (the operator has been told).
    virtual bool confirmVoucher(const VoucherRecord &record) = 0;
    // The router does not hold the voucher: it leaves the journal, and its
    // serial number is given back when no later one was taken.
    virtual void withdrawVoucher(const VoucherRecord &record) = 0;
    // Whether recording has failed in this run.
    virtual bool failed() const = 0;

    // Several vouchers going to the router together: recordVoucher for each,
    // in order, written in one go where the journal can. False: none of them
    // may be sent (those written down are let go again).
    virtual bool recordVouchers(const QList<VoucherRecord *> &records);
    // Several vouchers the router holds, in one go where the journal can. False
    // when any of them could not be recorded.
    virtual bool confirmVouchers(const QList<const VoucherRecord *> &records);
    // Several vouchers the router does not hold, in one go where the journal
    // can (withdrawVoucher for each, the last serial first).
    virtual void withdrawVouchers(const QList<const VoucherRecord *> &records);
};

// A journal that writes nothing down: serial numbers come from the settings in
// memory. For callers that record the vouchers themselves.
class SerialOnlyJournal : public VoucherJournal
{
public:
    explicit SerialOnlyJournal(AppSettings &settings) : m_settings(settings) {}

    bool recordVoucher(VoucherRecord &record) override;
    bool confirmVoucher(const VoucherRecord &) override { return true; }
    void withdrawVoucher(const VoucherRecord &record) override;
    bool failed() const override { return false; }

private:
    AppSettings &m_settings;
};

// Gives the record the next serial number when it has none yet.
void takeSerial(VoucherRecord &record, AppSettings &settings);
// Gives the record's serial number back when it is the last one taken.
void giveBackSerial(const VoucherRecord &record, AppSettings &settings);
