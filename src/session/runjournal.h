#pragma once

#include "salesledger.h"

#include "base/settingskey.h"
#include "generation/voucherjournal.h"
#include "history/pendingjournal.h"
#include "pos/poshistory.h"

#include <QElapsedTimer>
#include <QString>
#include <functional>

class Clock;
class HistoryDatabase;
class OperatorInteraction;
struct AppSettings;
struct RouterConfig;

// The journal of a generation run, kept while the run holds the data folder's
// run lock:
// - a voucher's serial number is written to the settings key as it is taken,
//   so no later run gives it again;
// - the voucher is written to the journal before its add goes to the router,
//   so a run that is killed leaves it recorded (as unconfirmed);
// - once the router confirms it, its row is stored in the history database,
//   and one journal line confirms it, keeps its row when the database did not
//   take it, and sells it in the run's sale; then PosHistory.bin is written
//   from the journal (see salesledger.h).
// What cannot be recorded ends the run with an error to the operator.
class RunJournal : public VoucherJournal
{
public:
    static constexpr qint64 SalesFileIntervalMs = 1000;

    // The run's sale as it grew (newSale: its first vouchers), once it is in
    // the journal: for the sales history the windows show.
    using RecordSale = std::function<void(const PosHistoryEntry &sale, bool newSale)>;

    RunJournal(AppSettings &settings, SettingsKey settingsKey, QString dataFolder, const RouterConfig &router,
               HistoryDatabase *history, bool historyWarningShown, RecordSale recordSale,
               OperatorInteraction &interaction, const Clock &clock);

    bool recordVoucher(VoucherRecord &record) override;
    bool confirmVoucher(const VoucherRecord &record) override;
    void withdrawVoucher(const VoucherRecord &record) override;
    bool failed() const override { return m_failed; }
    bool recordVouchers(const QList<VoucherRecord *> &records) override;
    bool confirmVouchers(const QList<const VoucherRecord *> &records) override;
    void withdrawVouchers(const QList<const VoucherRecord *> &records) override;

    // Before the first voucher: PosHistory.bin is brought up to the journal.
    void start();
    // After the last: the journal is compacted.
    void finish();

    // Whether the operator knows the history database cannot be reached.
    bool historyWarningShown() const { return m_historyWarningShown; }
    // Whether PosHistory.bin could not be written (the operator has been told;
    // the sales wait in the journal).
    bool salesFileFailed() const { return m_salesFileFailed; }

private:
    void fail(const QString &text);
    void writeSalesFile();

    AppSettings &m_settings;
    SettingsKey m_settingsKey;
    QString m_dataFolder;
    PendingJournal m_journal;
    QString m_routerName;
    QString m_routerAt;
    HistoryDatabase *m_history; // open for the run, or closed
    bool m_historyWarningShown;
    RecordSale m_recordSale;
    OperatorInteraction &m_interaction;
    const Clock &m_clock;
    QString m_saleId;
    QElapsedTimer m_salesFileWritten; // since PosHistory.bin was last written
    bool m_salesFileBehind = false;   // sales were confirmed since
    bool m_failed = false;
    bool m_salesFileFailed = false;
    qint32 m_sold = 0;
};

// The router as the journal knows it: "address:port", which a renaming of
// the router does not change.
QString routerPlace(const RouterConfig &router);
