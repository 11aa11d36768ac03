#include "openhistory.h"

#include "historydatabase.h"
#include "historystore.h"
#include "pendingjournal.h"

#include "base/runlock.h"

namespace {

// Stores what waited; true when nothing waits any more. A row the database
// holds already (stored before a kill cut the rewrite of the journal short) is
// not stored twice.
bool storePending(HistoryDatabase &history, const QString &dataFolder)
{
    PendingJournal journal(dataFolder);
    if (!journal.load())
        return false;
    const QList<HistoryRow> waiting = journal.state().waiting;
    if (waiting.isEmpty())
        return true;
    const std::optional<QSet<quint32>> held = heldVoucherSerials(history.connection(), waiting);
    if (!held)
        return false;
    QList<HistoryRow> missing;
    for (const HistoryRow &row : waiting) {
        if (!row.Serial || !held->contains(*row.Serial))
            missing.append(row);
    }
    const qsizetype stored = storeHistoryRows(history.connection(), missing);
    // The waiting rows up to the first one not stored leave the journal.
    qsizetype done = 0;
    qsizetype storedSoFar = 0;
    for (const HistoryRow &row : waiting) {
        const bool wasHeld = row.Serial && held->contains(*row.Serial);
        if (!wasHeld && storedSoFar == stored)
            break;
        if (!wasHeld)
            ++storedSoFar;
        ++done;
    }
    if (done == 0)
        return false;
    return journal.dropWaiting(done) && done == waiting.size();
}

} // namespace

bool openHistory(HistoryDatabase &history, const HistoryPlace &place, bool runLockHeld)
{
    const std::optional<HistoryLocation> location = parseHistoryLocation(place.database, place.dataFolder);
    if (!location || !history.open(*location))
        return false;
    if (runLockHeld) {
        storePending(history, place.dataFolder);
    } else if (RunLock lock(place.dataFolder); lock.acquire(0) == RunLock::Outcome::Held) {
        storePending(history, place.dataFolder);
    }
    return true;
}
