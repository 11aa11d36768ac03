#include "journalrecovery.h"

#include "appstate.h"
#include "runjournal.h"

#include "base/crashpoint.h"
#include "base/runlock.h"
#include "base/unattendedinteraction.h"
#include "history/historydatabase.h"
#include "history/historystore.h"
#include "history/pendingjournal.h"
#include "router/routersession.h"
#include "router/routervoucher.h"
#include "routeros/session.h"

#include <QDateTime>
#include <QUuid>

namespace {

// The router profile of a User Manager entry; older journals name only its
// title, found among the profiles of the router.
QString profileNameOf(const JournalEntry &entry, const ProfileList &profiles)
{
    if (!entry.profileName.isEmpty() || isHotSpotRow(entry.row))
        return entry.profileName;
    for (const auto &profile : profiles) {
        if (!profile->HotSpot && profile->Title == shownProfile(entry.row))
            return profile->Name;
    }
    return {};
}

struct Asked
{
    QList<JournalEntry> usable;
    SerialList absent;
};

// Asks the router about the entries, in order, until it stops answering.
Asked askRouter(const AppState &state, const RouterConfig &router, const QList<JournalEntry> &entries)
{
    Asked asked;
    UnattendedInteraction unattended;
    ApiConnection connection;
    if (!openSession(connection, router, unattended))
        return asked;
    ApiTransport &transport = *connection.transport;
    for (const JournalEntry &entry : entries) {
        const QString name = shownUserName(entry.row);
        const bool hotSpot = isHotSpotRow(entry.row);
        const QString profileName = profileNameOf(entry, state.profiles);
        RouterVoucher voucher =
            checkRouterVoucher(transport, state.routerInfo, name, entry.row.Password, hotSpot, profileName);
        if (voucher.state == RouterVoucher::State::Incomplete) {
            // Finished, or taken away: a user that logs nobody in is never sold.
            if (completeRouterVoucher(transport, state.routerInfo, name, voucher.id, profileName))
                voucher.state = RouterVoucher::State::Usable;
            else if (removeRouterVoucher(transport, state.routerInfo, voucher.id, hotSpot))
                voucher.state = RouterVoucher::State::Absent;
            else
                voucher.state = RouterVoucher::State::Unknown;
        }
        if (voucher.state == RouterVoucher::State::Unknown)
            break;
        if (voucher.state == RouterVoucher::State::Usable)
            asked.usable.append(entry);
        else
            asked.absent.append(entrySerial(entry));
    }
    closeSession(connection);
    return asked;
}

// Records and sells the usable vouchers in one journal line. Rows the
// database holds already (their run was killed after storing them) are not
// stored again; vouchers of an older program's journal whose row is stored
// were sold by their run.
bool recordUsable(const AppState &state, PendingJournal &journal, const QList<JournalEntry> &usable)
{
    HistoryDatabase history;
    const bool open = openHistory(history, historyPlace(state), true);
    QList<HistoryRow> made;
    for (const JournalEntry &entry : usable)
        made.append(entry.row);
    const std::optional<QSet<quint32>> held =
        open ? heldVoucherSerials(history.connection(), made) : std::optional<QSet<quint32>>();
    JournalConfirmation confirmation;
    QList<HistoryRow> toStore;
    for (const JournalEntry &entry : usable) {
        const quint32 serial = entrySerial(entry);
        // An older program's voucher was sold once its row was stored: while
        // the database cannot tell, it waits.
        if (entry.legacy && !held)
            continue;
        const bool stored = held && held->contains(serial);
        confirmation.serials.append(serial);
        // The row as the run wrote it, under the router's name of then, so
        // that a row stored before the kill is found again.
        if (!stored)
            toStore.append(entry.row);
        if (entry.legacy && stored)
            continue;
        const QString title = entry.saleTitle.isEmpty() ? shownProfile(entry.row) : entry.saleTitle;
        if (confirmation.sales.isEmpty() || confirmation.sales.constLast().title != title ||
            confirmation.sales.constLast().unitPrice != entry.row.Price)
            confirmation.sales.append(
                {QUuid::createUuid().toString(QUuid::WithoutBraces), title, entry.row.Price, {}});
        confirmation.sales.last().serials.append(serial);
    }
    if (confirmation.serials.isEmpty())
        return false;
    std::sort(confirmation.serials.begin(), confirmation.serials.end());
    const qsizetype stored = open ? storeHistoryRows(history.connection(), toStore) : 0;
    confirmation.waiting = toStore.mid(stored);
    crashPoint("recovery-stored");
    const bool confirmed = journal.confirm(confirmation);
    crashPoint("recovery-confirmed");
    return confirmed;
}

} // namespace

bool entryBelongsTo(const JournalEntry &entry, const RouterConfig &router, const QList<RouterConfig> &routers)
{
    if (entry.legacy)
        return entry.row.Router == router.Name;
    if (entry.routerAt == routerPlace(router))
        return true;
    const bool placeConfigured = std::any_of(routers.cbegin(), routers.cend(), [&](const RouterConfig &r) {
        return routerPlace(r) == entry.routerAt;
    });
    return entry.row.Router == router.Name && !placeConfigured;
}

SalesFileOutcome settleUnconfirmedVouchers(AppState &state)
{
    const QString &dataFolder = state.paths.dataFolder;
    RunLock lock(dataFolder);
    if (dataFolder.isEmpty() || lock.acquire(0) != RunLock::Outcome::Held)
        return {};
    PendingJournal journal(dataFolder);
    const QDateTime now = QDateTime::fromSecsSinceEpoch(state.clock->now());
    // PosHistory.bin is taken into the journal before anything more is sold.
    SalesFileOutcome outcome = reconcileSalesFile(journal, dataFolder, now);
    if (outcome.journalFailed)
        return outcome;

    const RouterConfig *router = state.currentRouter();
    QList<JournalEntry> entries;
    if (router) {
        for (const JournalEntry &entry : journal.state().unconfirmed) {
            if (entryBelongsTo(entry, *router, state.routers))
                entries.append(entry);
        }
    }
    if (!entries.isEmpty()) {
        const Asked asked = askRouter(state, *router, entries);
        crashPoint("recovery-asked");
        if (!asked.absent.isEmpty())
            journal.withdraw(asked.absent);
        if (!asked.usable.isEmpty() && recordUsable(state, journal, asked.usable)) {
            const SalesFileOutcome written = reconcileSalesFile(journal, dataFolder, now);
            outcome.keptAs = outcome.keptAs.isEmpty() ? written.keptAs : outcome.keptAs;
            outcome.unwritten = written.unwritten;
            outcome.journalFailed = written.journalFailed;
        }
    }
    journal.compact();
    return outcome;
}
