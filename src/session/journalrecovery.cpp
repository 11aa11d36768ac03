#include "journalrecovery.h"

#include "appstate.h"

#include "base/operatorinteraction.h"
#include "base/runlock.h"
#include "base/unattendedinteraction.h"
#include "history/historydatabase.h"
#include "history/historystore.h"
#include "history/pendinghistory.h"
#include "history/pendingjournal.h"
#include "router/routersession.h"
#include "router/routeruser.h"
#include "routeros/session.h"

namespace {

QList<HistoryRow> unconfirmedOn(const QString &dataFolder, const QString &routerName)
{
    QList<HistoryRow> rows;
    for (const HistoryRow &row : readPendingHistory(pendingHistoryPath(dataFolder)).unconfirmed) {
        if (row.Router == routerName && row.Serial)
            rows.append(row);
    }
    return rows;
}

} // namespace

void settleUnconfirmedVouchers(AppState &state)
{
    const RouterConfig *router = state.currentRouter();
    const QString &dataFolder = state.paths.dataFolder;
    if (!router || unconfirmedOn(dataFolder, router->Name).isEmpty())
        return;
    RunLock lock(dataFolder);
    if (lock.acquire(0) != RunLock::Outcome::Held)
        return;
    const QList<HistoryRow> entries = unconfirmedOn(dataFolder, router->Name);

    // The settling happens behind the login: its failures are not the
    // operator's business now, the vouchers simply wait for the next start.
    UnattendedInteraction unattended;
    ApiConnection connection;
    if (!openSession(connection, *router, unattended))
        return;
    QList<HistoryRow> held;
    QList<HistoryRow> absent;
    for (const HistoryRow &entry : entries) {
        const std::optional<bool> holds = routerHoldsUser(*connection.transport, state.routerInfo,
                                                          shownUserName(entry), isHotSpotRow(entry));
        if (!holds)
            break;
        (*holds ? held : absent).append(entry);
    }
    closeSession(connection);

    for (const HistoryRow &entry : absent)
        dropUnconfirmed(dataFolder, *entry.Serial);
    if (held.isEmpty())
        return;
    HistoryDatabase history;
    const bool open = openHistory(history, historyPlace(state), true);
    QList<HistoryRow> unsold;
    for (const HistoryRow &row : held) {
        // A run records a voucher in the history, then sells it, then settles
        // its entry: one already stored was sold by its run, and is stored once.
        const std::optional<bool> stored =
            open ? historyHoldsVoucher(history.connection(), row.UserName, *row.Serial, row.Router)
                 : std::nullopt;
        if (stored.value_or(false)) {
            settleConfirmed(dataFolder, row, true);
            continue;
        }
        settleConfirmed(dataFolder, row, open && storeHistoryRows(history.connection(), {row}) == 1);
        unsold.append(row);
    }
    if (unsold.isEmpty())
        return;

    // What the interrupted run made is sold: one sale for each run of
    // vouchers of the same profile and price.
    state.posHistory.load();
    PosHistoryEntry sale;
    for (const HistoryRow &row : unsold) {
        const QString title = shownProfile(row);
        if (sale.count > 0 && (sale.title != title || sale.unitPrice != row.Price)) {
            state.posHistory.append(sale);
            sale = {};
        }
        sale = {sale.count + 1, title, row.Price};
    }
    state.posHistory.append(sale);
}
