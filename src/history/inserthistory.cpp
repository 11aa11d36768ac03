#include "inserthistory.h"

#include "historystore.h"
#include "pendinghistory.h"

#include "session/appstate.h"
#include "base/operatorinteraction.h"

using namespace Qt::StringLiterals;

namespace {

QString currentRouterName(const AppState &state)
{
    return state.currentRouter >= 0 && state.currentRouter < state.routers.size()
               ? state.routers[state.currentRouter].Name
               : QString();
}

// Stores what waited; true when nothing waits any more.
bool storePending(AppState &state)
{
    const QString path = pendingHistoryPath(state.paths.dataFolder);
    PendingHistory pending = readPendingHistory(path);
    if (pending.rows.isEmpty())
        return true;
    const qsizetype stored = storeHistoryRows(state.history.connection(), pending.rows);
    if (stored == 0)
        return false;
    pending.rows.remove(0, stored);
    // Should the rewrite fail, the stored rows would be stored again next
    // time: a duplicate row is better than a lost one.
    writePendingHistory(path, pending);
    return pending.rows.isEmpty();
}

} // namespace

bool openHistory(AppState &state)
{
    const std::optional<HistoryLocation> location =
        parseHistoryLocation(state.settings.HistoryDatabase, state.paths.dataFolder);
    if (!location || !state.history.open(*location))
        return false;
    storePending(state);
    return true;
}

void closeHistory(AppState &state)
{
    state.history.close();
}

void insertHistory(AppState &state, OperatorInteraction &interaction)
{
    QList<HistoryRow> rows;
    const QString routerName = currentRouterName(state);
    for (const VoucherRecord &record : state.batch)
        rows.append(historyRowOf(record, routerName));

    qsizetype stored = 0;
    if (openHistory(state)) {
        stored = storeHistoryRows(state.history.connection(), rows);
        closeHistory(state);
    }
    if (stored == rows.size()) {
        if (!rows.isEmpty())
            state.historyWarningShown = false;
        return;
    }

    const QString path = pendingHistoryPath(state.paths.dataFolder);
    PendingHistory pending = readPendingHistory(path);
    pending.rows.append(rows.mid(stored));
    const bool kept = writePendingHistory(path, pending);
    if (!state.historyWarningShown || !kept) {
        interaction.showMessage(u"Erro: Não foi possível acessar o banco de dados de histórico."_s,
                                MessageIcon::Warning);
        state.historyWarningShown = true;
    }
}
