#pragma once

#include "generationrun.h"
#include "pendingvouchers.h"
#include "setupdata.h"

#include "history/historysearch.h"
#include "router/expirationscript.h"
#include "router/routerinfo.h"

#include <QObject>
#include <memory>
#include <optional>

struct AppState;
class CrossThreadInteraction;
class CrossThreadPrompt;
class OperatorInteraction;
class QThread;
class UserDataPrompt;
struct VoucherDesign;
struct VoucherProfile;

// What the windows and the command line do with the program: log in, make
// vouchers, search the history, and the few router commands of the setup. It
// owns no data: the application state is the caller's, read through state()
// and changed only here, which tells every change by a signal. Lives on the
// user-interface thread; a generation run may go to a worker thread of its own.
class SessionFacade : public QObject
{
    Q_OBJECT

public:
    SessionFacade(AppState &state, OperatorInteraction &interaction, QObject *parent = nullptr);
    // Waits for a run on a worker thread to end (after a stop request).
    ~SessionFacade() override;

    const AppState &state() const { return m_state; }

    // The login window's check of the program user (see checkProgramUser).
    bool checkProgramUser(const QString &name, const QString &password, bool needSettings);
    // The router the session works with; false when the index is outside the list.
    bool selectRouter(qsizetype index);
    // Reads the current router's information and profiles, their designs and
    // the sales history; false when the router could not be read (the operator
    // has been told). Profiles and sales have changed either way.
    bool startRouterSession();
    // The whole login: program user, router, session start.
    bool logIn(const QString &name, const QString &password, qsizetype routerIndex);
    // No program user is logged in any more (the login window is back).
    void logOut();

    // A generation run on this thread; returns when it is over (see
    // runGeneration). False when the session could not be opened, or a run is
    // already going on.
    bool runGeneration(const GenerationRequest &request, UserDataPrompt &prompt);
    // A generation run on a worker thread: returns at once, false when a run is
    // already going on. Questions and the prompt come back to this thread and
    // the run waits for their answers; generationFinished tells the end. The
    // prompt must outlive the run.
    bool startGeneration(const GenerationRequest &request, UserDataPrompt &prompt);
    bool isGenerating() const { return m_generating; }
    // Whether the last run ended because a voucher or a serial number could not
    // be recorded, or did not start because another run held the data folder
    // or the data folder cannot be written, or its sales could not be written
    // to PosHistory.bin (the operator has been told).
    bool lastRunFailed() const { return m_lastRunFailed; }
    // Ends the current run after the voucher being made. Safe from any thread
    // and from a signal handler.
    void requestStop() { m_control.requestStop(); }

    // The vouchers sent to a router whose confirmation never arrived (see
    // pendingVouchers); nothing when the journal cannot be read.
    std::optional<QList<PendingVoucher>> pendingVouchers() const;
    // The journal's file, for messages.
    QString pendingFile() const;

    // The history page's search; nothing when the database could not be
    // opened or failed.
    std::optional<HistorySearchResult> searchHistory(const HistoryFilter &filter);
    // Marks the history rows of a user removed from its router (see
    // markHistoryRowRemoved); false when the database could not be opened or
    // holds no such row.
    bool markVoucherRemoved(const QString &userName, std::optional<quint32> serial);
    // The history rows of a user removed from a router by name, marked
    // removed; the number marked, nothing when the history failed.
    std::optional<int> markRouterUserRemoved(const QString &userName, const QString &routerName);

    // The router dialog's upload of the expiration script with force on, to the
    // router as given, the scheduler entry running every `interval` seconds.
    ScriptUpload uploadExpirationScript(const RouterConfig &router, qint64 interval);
    // The setup's "Testar Conexão": logs in to the router as given and out
    // again under the wait cursor; the operator reads the outcome.
    bool testRouterConnection(const RouterConfig &router);
    // The hotspot user profile and server names of the first router of the
    // list that sells hotspot profiles (see listHotSpotNames).
    std::optional<HotSpotNames> listHotSpotNames(const QList<RouterConfig> &routers);
    // The expiration script's run interval, stored at once (the routers'
    // scripts are being given it).
    void storeScriptInterval(qint64 seconds);
    // The setup's OK (see applySetup). Listeners hear of new routers and
    // profiles through setupApplied.
    bool applySetup(const SetupData &edited);

    // Removes a user from the router (see removeRouterUser).
    bool removeRouterUser(const RouterConfig &router, const QString &name, bool hotSpot);

    // The design a profile of the list prints with, in memory only (the design
    // map keeps it once saved). False when the profile is not in the list or
    // the design not in the design list.
    bool setProfileDesign(const VoucherProfile *profile, const VoucherDesign *design);
    // The generator window's "AutoPrint" choice: stored, and kept in the
    // settings, only when it differs from the setting.
    void setAutoPrint(bool autoPrint);
    // The logged-in program user's working mode and the counter window's full
    // screen, kept with the program users ("UsersData"); a failed write is
    // not reported. Nothing happens when nobody is logged in.
    void setPosMode(bool posMode);
    void setFullScreen(bool fullScreen);
    // Empties the sales history (in the journal, then PosHistory.bin); false
    // when it could not (the operator has been told).
    bool clearSales();
    // PosHistory.bin brought up to the journal when no run holds the data
    // folder (at the program's end).
    void updateSalesFile();

Q_SIGNALS:
    void profilesChanged();
    // The setup was confirmed: users, routers, profiles and settings may all
    // be new (also when some file could not be written).
    void setupApplied();
    // A profile of the list prints with another design.
    void profileDesignChanged(const VoucherProfile *profile);
    // The batch holds the vouchers of the run that just ended.
    void batchReady();
    // The sales history changed: loaded, or a run sold one more voucher.
    void salesChanged();
    // The run's vouchers have been recorded in the history (or wait for it).
    void historyStored();
    // After each voucher of a run: so many made of count. Emitted on the run's
    // thread; receivers elsewhere get it queued.
    void generationProgress(quint32 made, quint32 count);
    // The run is over; false when its session could not be opened.
    void generationFinished(bool sessionOpened);

private:
    GenerationInput inputForRun();
    void finishRun(GenerationOutcome outcome, const GenerationRequest &request);

    AppState &m_state;
    OperatorInteraction &m_interaction;
    GenerationControl m_control;
    bool m_generating = false;
    bool m_lastRunFailed = false;
    QThread *m_worker = nullptr;
    std::unique_ptr<CrossThreadInteraction> m_workerInteraction;
    std::unique_ptr<CrossThreadPrompt> m_workerPrompt;
    GenerationOutcome m_workerOutcome;
};
