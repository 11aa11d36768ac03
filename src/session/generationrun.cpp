#include "generationrun.h"

#include "appstate.h"

#include "runjournal.h"
#include "salesledger.h"
#include "serialfloor.h"

#include "base/operatorinteraction.h"
#include "base/runlock.h"
#include "base/settingskey.h"
#include "base/suppressiblenotice.h"
#include "config/voucherserial.h"
#include "generation/givennamecheck.h"
#include "generation/voucherprofile.h"
#include "history/historydatabase.h"
#include "history/historyrow.h"
#include "history/pendingjournal.h"
#include "router/hotspotusers.h"
#include "router/pipelinedvouchers.h"
#include "router/routersession.h"
#include "router/usermanagerusers.h"
#include "router/vouchercontext.h"
#include "routeros/session.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

// How long a run waits for another run on the same data folder to end.
constexpr int RunLockWaitMs = 5000;

// Takes the data folder's run lock, or tells the operator why the run cannot start.
bool lockRun(RunLock &lock, OperatorInteraction &interaction)
{
    switch (lock.acquire(RunLockWaitMs)) {
    case RunLock::Outcome::Held:
        return true;
    case RunLock::Outcome::Busy:
        interaction.showMessage(
            QCoreApplication::translate("GenerationRun",
                                        "Outra geração de vouchers está em andamento com esta pasta de "
                                        "dados.\nAguarde o fim dela e tente novamente."),
            MessageIcon::Error);
        return false;
    case RunLock::Outcome::Unavailable:
        interaction.showMessage(QCoreApplication::translate(
                                    "GenerationRun",
                                    "Erro: não foi possível gravar na pasta de dados, onde os vouchers são "
                                    "registrados.\nNenhum voucher foi criado."),
                                MessageIcon::Error);
        return false;
    }
    return false;
}

// Whether the run's commands go without waiting for each reply: random names
// that ask the operator nothing, unless the operator turned it off.
bool pipelined(const AppSettings &settings, const GenerationRequest &request)
{
    return settings.PipelinedGeneration && !request.givenName && !settings.QueryPassword &&
           !settings.QueryUserData;
}

} // namespace

GenerationOutcome generateVouchers(const GenerationInput &input, const GenerationRequest &request,
                                   OperatorInteraction &interaction, UserDataPrompt &prompt,
                                   GenerationControl &control)
{
    const std::shared_ptr<const VoucherProfile> &profile = request.profile;
    const SettingsKey settingsKey(input.settingsFile);
    GenerationOutcome outcome;
    outcome.voucherSerial = input.settings.VoucherSerial;
    outcome.historyWarningShown = input.historyWarningShown;
    if (profile->HotSpot) {
        showSuppressibleNotice(settingsKey, interaction,
                               QCoreApplication::translate(
                                   "GenerationRun",
                                   "Vouchers criados como usuários HotSpot são ativados quando criados.\n"
                                   "O tempo de validação desses vouchers inicia agora."),
                               QCoreApplication::translate("GenerationRun", "Atenção"), MessageIcon::Warning,
                               u"{wifiTicketer}"_s);
    }
    WaitCursor wait(interaction);
    if (!input.router)
        return outcome;
    // A given name that the router, a printed voucher or the history would
    // take differently from what was typed is refused before anything is sent.
    // An empty one is no name yet: the user-data prompt asks for it.
    if (request.givenName && !request.givenName->isEmpty()) {
        if (const std::optional<QString> problem =
                givenNameProblem(*request.givenName, HistoryTextColumnSize)) {
            interaction.showMessage(*problem, MessageIcon::Error);
            outcome.refused = true;
            return outcome;
        }
    }

    // One run at a time on a data folder: serials, the pending file and the
    // sales are read and written under the lock only.
    RunLock lock(input.historyPlace.dataFolder);
    if (!lockRun(lock, interaction)) {
        outcome.refused = true;
        return outcome;
    }
    AppSettings settings = input.settings;
    // The run's own connection to the history, on the run's thread; it also
    // gives the serials' floor.
    HistoryDatabase history;
    openHistory(history, input.historyPlace, true);
    const std::optional<quint32> serial = nextVoucherSerial(settingsKey, input.historyPlace.dataFolder,
                                                            history, settings.VoucherSerial, interaction);
    if (!serial) {
        outcome.refused = true;
        return outcome;
    }
    settings.VoucherSerial = *serial;
    outcome.voucherSerial = settings.VoucherSerial;

    RunJournal journal(settings, settingsKey, input.historyPlace.dataFolder, *input.router, &history,
                       input.historyWarningShown, input.recordSale, interaction, *input.clock);
    journal.start();

    ApiConnection connection;
    if (!openSession(connection, *input.router, interaction)) {
        journal.finish();
        outcome.salesFileFailed = journal.salesFileFailed();
        return outcome;
    }
    outcome.sessionOpened = true;

    const VoucherContext context{
        *connection.transport, *input.router,   input.routerInfo, settings, outcome.batch,
        *input.clock,          input.generator, interaction,      prompt,   journal};
    if (pipelined(settings, request)) {
        PipelineControl steering;
        steering.stopRequested = [&control] { return control.stopRequested(); };
        if (control.progress)
            steering.progress = [&control, &request](quint32 made) { control.progress(made, request.count); };
        createVouchersPipelined(context, profile, request.count, steering);
    } else {
        for (quint32 made = 0; made < request.count && !control.stopRequested(); ++made) {
            const bool created = profile->HotSpot
                                     ? createHotSpotVoucher(context, profile, request.givenName)
                                     : createUserManagerVoucher(context, profile, request.givenName);
            if (!created || journal.failed())
                break;
            if (control.progress)
                control.progress(made + 1, request.count);
        }
    }
    closeSession(connection);
    journal.finish();
    history.close();

    // Every serial taken was written as it was taken; a run that took none
    // writes the counter back as it is.
    writeVoucherSerial(settingsKey, settings.VoucherSerial);
    outcome.voucherSerial = settings.VoucherSerial;
    outcome.historyWarningShown = journal.historyWarningShown();
    outcome.recordingFailed = journal.failed();
    outcome.salesFileFailed = journal.salesFileFailed();
    return outcome;
}

GenerationInput generationInput(AppState &state)
{
    GenerationInput input;
    if (const RouterConfig *router = state.currentRouter())
        input.router = *router;
    input.routerInfo = state.routerInfo;
    input.settings = state.settings;
    input.settingsFile = state.settingsKey.filePath();
    input.generator = currentUserName(state);
    input.historyPlace = historyPlace(state);
    input.historyWarningShown = state.historyWarningShown;
    input.clock = state.clock;
    input.recordSale = [&state](const PosHistoryEntry &sale, bool newSale) {
        recordRunSale(state.posHistory, state.paths.dataFolder, sale, newSale);
    };
    return input;
}

void applyGenerationOutcome(AppState &state, GenerationOutcome outcome, const GenerationRequest &request)
{
    state.batch = std::move(outcome.batch);
    state.settings.VoucherSerial = outcome.voucherSerial;
    state.historyWarningShown = outcome.historyWarningShown;
    if (outcome.sessionOpened)
        state.lastRunProfile = request.profile;
    else
        state.lastRunProfile.reset();
}

void recordRunSale(PosHistory &sales, const QString &dataFolder, const PosHistoryEntry &sale, bool newSale)
{
    if (!newSale) {
        sales.updateNewest(sale);
        return;
    }
    // Another process on this data folder may have sold since the login: the
    // journal, which holds this sale already, holds theirs too.
    const std::optional<JournalState> journal = readJournal(dataFolder);
    if (journal && journal->keepsSales && !journal->sales.isEmpty())
        sales.assign(salesEntries(journal->sales));
    else
        sales.append(sale);
}

bool runGeneration(AppState &state, OperatorInteraction &interaction, UserDataPrompt &prompt,
                   const GenerationRequest &request, GenerationControl *control)
{
    // The vouchers of the previous run go before anything is made.
    clearBatch(state.batch);
    GenerationControl uncontrolled;
    GenerationOutcome outcome = generateVouchers(generationInput(state), request, interaction, prompt,
                                                 control ? *control : uncontrolled);
    const bool opened = outcome.sessionOpened;
    applyGenerationOutcome(state, std::move(outcome), request);
    return opened;
}
