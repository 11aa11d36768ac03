#pragma once

#include "config/appsettings.h"
#include "config/routerconfig.h"
#include "generation/voucherrecord.h"
#include "history/openhistory.h"
#include "pos/poshistory.h"
#include "router/routerinfo.h"

#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

struct AppState;
struct VoucherProfile;
class Clock;
class OperatorInteraction;
class UserDataPrompt;

// What the operator asked for: `count` vouchers of the profile, with random
// names, or all with the given name.
struct GenerationRequest
{
    std::shared_ptr<const VoucherProfile> profile;
    quint32 count = 0;
    std::optional<QString> givenName;
};

// The progress and the stop of a run, shared between the thread the run is on
// and the one watching it.
class GenerationControl
{
public:
    // Ends the run once the voucher being made is done; what was made is then
    // recorded as at a normal end. A plain atomic store, so a signal handler
    // may call it.
    void requestStop() { m_stop.store(true); }
    bool stopRequested() const { return m_stop.load(); }
    // Before a new run.
    void reset() { m_stop.store(false); }

    // Called on the run's thread after each voucher made: so many of count.
    std::function<void(quint32 made, quint32 count)> progress;

private:
    std::atomic<bool> m_stop{false};
};

// Everything a run reads, copied from the application state before it starts,
// so the run can leave for another thread while the windows keep the state.
struct GenerationInput
{
    std::optional<RouterConfig> router; // the current router; none: no run
    RouterInfo routerInfo;
    AppSettings settings; // the rules; VoucherSerial advances in this copy
    QString settingsFile; // the settings key: the notice's choice, VoucherSerial
    QString generator;    // the program user making the vouchers
    HistoryPlace historyPlace;
    bool historyWarningShown = false;
    const Clock *clock = nullptr;
    // Records the run's sale in the counter's sales history, where that history
    // lives (a run on another thread hands it over and waits): with its first
    // voucher as a new sale, then grown voucher by voucher.
    std::function<void(const PosHistoryEntry &sale, bool newSale)> recordSale;
};

// What a run leaves behind for the state.
struct GenerationOutcome
{
    bool refused = false; // another run held the data folder, or it cannot be written
    bool sessionOpened = false;
    bool recordingFailed = false; // a voucher or a serial could not be recorded: the run ended there
    bool salesFileFailed = false; // PosHistory.bin could not be written: its sales wait in the journal
    BatchList batch;
    quint32 voucherSerial = 0;
    bool historyWarningShown = false;
};

// The run itself, start to end on the calling thread: the hotspot notice, the
// data folder's run lock, the session, the vouchers (until `count`, the first
// failure, a stop, or something that cannot be recorded), each journalled
// before the router gets it and recorded in the history, "VoucherSerial" and
// the sale as they are made. Questions go through the interaction and the
// prompt, which must be callable from this thread.
GenerationOutcome generateVouchers(const GenerationInput &input, const GenerationRequest &request,
                                   OperatorInteraction &interaction, UserDataPrompt &prompt,
                                   GenerationControl &control);

// The input of a run from the state; sales go straight to its sales history.
GenerationInput generationInput(AppState &state);

// The run's sale, once in the journal, in the sales history the windows show:
// a new sale (with the sales the journal holds, also those of other
// processes) or the newest one grown.
void recordRunSale(PosHistory &sales, const QString &dataFolder, const PosHistoryEntry &sale, bool newSale);

// Takes a finished run into the state: its batch, the advanced VoucherSerial,
// the history warning, and the last-run profile (none when the session failed).
void applyGenerationOutcome(AppState &state, GenerationOutcome outcome, const GenerationRequest &request);

// Creates up to `count` vouchers of the profile on the current router (all with
// the given user name, else random names), records them in the history,
// advances the stored voucher serial and adds the sale to the POS sales
// history. The vouchers are left in the batch for listing and printing.
// False only when the session to the router could not be opened; true also
// when fewer vouchers than asked were made (the first failure ends the run,
// and the operator has been told why, or a stop was asked for).
bool runGeneration(AppState &state, OperatorInteraction &interaction, UserDataPrompt &prompt,
                   const GenerationRequest &request, GenerationControl *control = nullptr);
