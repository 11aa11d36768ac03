#pragma once

#include "base/settingskey.h"
#include "generation/voucherjournal.h"
#include "history/pendingjournal.h"
#include "pos/poshistory.h"

#include <QString>
#include <functional>

class HistoryDatabase;
class OperatorInteraction;
struct AppSettings;

// The journal of a generation run, kept while the run holds the data folder's
// run lock:
// - a voucher's serial number is written to the settings key as it is taken,
//   so no later run gives it again;
// - the voucher is written to the pending file before its add goes to the
//   router, so a run that is killed leaves it recorded (as unconfirmed);
// - once the router confirms it, its row is stored in the history database
//   (or waits in the pending file) and the run's sale grows by one voucher.
// What cannot be recorded ends the run with an error to the operator.
class RunJournal : public VoucherJournal
{
public:
    // Adds the run's sale (newSale: its first voucher) to the sales history.
    using RecordSale = std::function<void(const PosHistoryEntry &sale, bool newSale)>;

    RunJournal(AppSettings &settings, SettingsKey settingsKey, QString dataFolder, QString routerName,
               HistoryDatabase *history, bool historyWarningShown, RecordSale recordSale,
               OperatorInteraction &interaction);

    bool recordVoucher(VoucherRecord &record) override;
    bool confirmVoucher(const VoucherRecord &record) override;
    void withdrawVoucher(const VoucherRecord &record) override;
    bool failed() const override { return m_failed; }
    bool recordVouchers(const QList<VoucherRecord *> &records) override;
    bool confirmVouchers(const QList<const VoucherRecord *> &records) override;

    // Whether the operator knows the history database cannot be reached.
    bool historyWarningShown() const { return m_historyWarningShown; }

private:
    void fail(const QString &text);

    AppSettings &m_settings;
    SettingsKey m_settingsKey;
    PendingJournal m_pending; // the data folder's pending file
    QString m_routerName;
    HistoryDatabase *m_history; // open for the run, or closed
    bool m_historyWarningShown;
    RecordSale m_recordSale;
    OperatorInteraction &m_interaction;
    bool m_failed = false;
    qint32 m_sold = 0;
};
