#include "sessionfacade.h"

#include "appstate.h"
#include "crossthreadinteraction.h"
#include "programlogin.h"
#include "routerlogin.h"
#include "salesledger.h"

#include "base/operatorinteraction.h"
#include "base/regvalue.h"
#include "history/historydatabase.h"
#include "history/pendinghistory.h"
#include "router/hotspotusers.h"
#include "router/routersession.h"
#include "routeros/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QDateTime>
#include <QThread>
#include <algorithm>

SessionFacade::SessionFacade(AppState &state, OperatorInteraction &interaction, QObject *parent)
    : QObject(parent), m_state(state), m_interaction(interaction)
{
    m_control.progress = [this](quint32 made, quint32 count) { Q_EMIT generationProgress(made, count); };
}

SessionFacade::~SessionFacade()
{
    if (!m_worker)
        return;
    disconnect(m_worker, nullptr, this, nullptr);
    m_control.requestStop();
    // The run may be waiting for an answer from this thread: keep serving it
    // until it has closed its session and recorded what it made.
    while (!m_worker->wait(20))
        QCoreApplication::processEvents();
    delete m_worker;
}

bool SessionFacade::checkProgramUser(const QString &name, const QString &password, bool needSettings)
{
    return ::checkProgramUser(m_state, name, password, needSettings, m_interaction);
}

bool SessionFacade::selectRouter(qsizetype index)
{
    if (index < 0 || index >= m_state.routers.size())
        return false;
    m_state.currentRouterIndex = index;
    return true;
}

bool SessionFacade::startRouterSession()
{
    const bool started = ::startRouterSession(m_state, m_interaction);
    Q_EMIT profilesChanged();
    Q_EMIT salesChanged();
    return started;
}

bool SessionFacade::logIn(const QString &name, const QString &password, qsizetype routerIndex)
{
    return checkProgramUser(name, password, false) && selectRouter(routerIndex) && startRouterSession();
}

void SessionFacade::logOut()
{
    m_state.currentUser = -1;
}

GenerationInput SessionFacade::inputForRun()
{
    GenerationInput input = generationInput(m_state);
    // The sales history belongs to this thread, where the windows read it; they
    // hear of every voucher sold.
    input.recordSale = [this](const PosHistoryEntry &sale, bool newSale) {
        callOnThreadOf(this, [&] {
            recordRunSale(m_state.posHistory, m_state.paths.dataFolder, sale, newSale);
            Q_EMIT salesChanged();
        });
    };
    return input;
}

bool SessionFacade::runGeneration(const GenerationRequest &request, UserDataPrompt &prompt)
{
    if (m_generating)
        return false;
    m_generating = true;
    m_control.reset();
    clearBatch(m_state.batch);
    GenerationOutcome outcome = generateVouchers(inputForRun(), request, m_interaction, prompt, m_control);
    const bool opened = outcome.sessionOpened;
    finishRun(std::move(outcome), request);
    return opened;
}

bool SessionFacade::startGeneration(const GenerationRequest &request, UserDataPrompt &prompt)
{
    if (m_generating)
        return false;
    m_generating = true;
    m_control.reset();
    clearBatch(m_state.batch);
    m_workerInteraction = std::make_unique<CrossThreadInteraction>(m_interaction, this);
    m_workerPrompt = std::make_unique<CrossThreadPrompt>(prompt, this);
    m_worker = QThread::create([this, input = inputForRun(), request] {
        m_workerOutcome = generateVouchers(input, request, *m_workerInteraction, *m_workerPrompt, m_control);
    });
    connect(m_worker, &QThread::finished, this, [this, request] {
        m_worker->wait();
        delete m_worker;
        m_worker = nullptr;
        m_workerInteraction.reset();
        m_workerPrompt.reset();
        finishRun(std::exchange(m_workerOutcome, {}), request);
    });
    m_worker->start();
    return true;
}

void SessionFacade::finishRun(GenerationOutcome outcome, const GenerationRequest &request)
{
    const bool opened = outcome.sessionOpened;
    const bool made = !outcome.batch.empty();
    m_lastRunFailed = outcome.refused || outcome.recordingFailed || outcome.salesFileFailed;
    applyGenerationOutcome(m_state, std::move(outcome), request);
    m_generating = false;
    Q_EMIT batchReady();
    if (made)
        Q_EMIT historyStored();
    Q_EMIT generationFinished(opened);
}

std::optional<QList<PendingVoucher>> SessionFacade::pendingVouchers() const
{
    return ::pendingVouchers(m_state);
}

QString SessionFacade::pendingFile() const
{
    return QDir::toNativeSeparators(pendingHistoryPath(m_state.paths.dataFolder));
}

std::optional<HistorySearchResult> SessionFacade::searchHistory(const HistoryFilter &filter)
{
    WaitCursor wait(m_interaction);
    HistoryDatabase history;
    if (!openHistory(history, historyPlace(m_state)))
        return std::nullopt;
    return ::searchHistory(history, filter);
}

bool SessionFacade::markVoucherRemoved(const QString &userName, std::optional<quint32> serial)
{
    WaitCursor wait(m_interaction);
    HistoryDatabase history;
    return openHistory(history, historyPlace(m_state)) &&
           markHistoryRowRemoved(history.connection(), userName, serial);
}

std::optional<int> SessionFacade::markRouterUserRemoved(const QString &userName, const QString &routerName)
{
    HistoryDatabase history;
    if (!openHistory(history, historyPlace(m_state)))
        return std::nullopt;
    return ::markRouterUserRemoved(history.connection(), userName, routerName);
}

ScriptUpload SessionFacade::uploadExpirationScript(const RouterConfig &router, qint64 interval)
{
    WaitCursor wait(m_interaction);
    ApiConnection connection;
    if (!openSession(connection, router, m_interaction))
        return ScriptUpload::Failed;
    const ScriptUpload result =
        ::uploadExpirationScript(*connection.transport, interval, true, m_interaction);
    closeSession(connection);
    return result;
}

bool SessionFacade::testRouterConnection(const RouterConfig &router)
{
    WaitCursor wait(m_interaction);
    ApiConnection connection;
    if (!openSession(connection, router, m_interaction))
        return false;
    closeSession(connection);
    m_interaction.showMessage(tr("Conectado ao roteador com sucesso!"), MessageIcon::Information);
    return true;
}

std::optional<HotSpotNames> SessionFacade::listHotSpotNames(const QList<RouterConfig> &routers)
{
    return ::listHotSpotNames(routers, m_interaction);
}

void SessionFacade::storeScriptInterval(qint64 seconds)
{
    m_state.settings.HotSpotScheduleInterval = seconds;
    saveValue(m_state.settingsKey, QStringLiteral("HotSpotScheduleInterval"), intervalValue(seconds));
}

bool SessionFacade::applySetup(const SetupData &edited)
{
    const bool written = ::applySetup(m_state, edited, m_interaction);
    Q_EMIT setupApplied();
    return written;
}

bool SessionFacade::removeRouterUser(const RouterConfig &router, const QString &name, bool hotSpot)
{
    return ::removeRouterUser(router, name, hotSpot, m_state.routerInfo, m_interaction);
}

bool SessionFacade::setProfileDesign(const VoucherProfile *profile, const VoucherDesign *design)
{
    const auto isProfile = [&](const std::shared_ptr<VoucherProfile> &p) { return p.get() == profile; };
    const auto isDesign = [&](const std::shared_ptr<VoucherDesign> &d) { return d.get() == design; };
    const auto target = std::find_if(m_state.profiles.begin(), m_state.profiles.end(), isProfile);
    if (target == m_state.profiles.end())
        return false;
    if (design && std::none_of(m_state.designs.cbegin(), m_state.designs.cend(), isDesign))
        return false;
    (*target)->Design = design;
    Q_EMIT profileDesignChanged(profile);
    return true;
}

void SessionFacade::setAutoPrint(bool autoPrint)
{
    if (m_state.settings.AutoPrint == autoPrint)
        return;
    m_state.settings.AutoPrint = autoPrint;
    saveValue(m_state.settingsKey, QStringLiteral("AutoPrint"), dwordValue(autoPrint ? 1 : 0));
}

void SessionFacade::setPosMode(bool posMode)
{
    ::setPosMode(m_state, posMode);
}

void SessionFacade::setFullScreen(bool fullScreen)
{
    ::setFullScreen(m_state, fullScreen);
}

bool SessionFacade::clearSales()
{
    // It may wait a few seconds for a run of another process.
    WaitCursor wait(m_interaction);
    if (!clearRecordedSales(m_state.paths.dataFolder, QDateTime::fromSecsSinceEpoch(m_state.clock->now()),
                            m_interaction))
        return false;
    m_state.posHistory.clear();
    Q_EMIT salesChanged();
    return true;
}

void SessionFacade::updateSalesFile()
{
    ::updateSalesFile(m_state.paths.dataFolder, QDateTime::fromSecsSinceEpoch(m_state.clock->now()));
}
