#include "openhistory.h"

#include "historydatabase.h"
#include "historystore.h"
#include "pendinghistory.h"

#include "base/runlock.h"

namespace {

// Stores what waited; true when nothing waits any more.
bool storePending(HistoryDatabase &history, const QString &dataFolder)
{
    const QString path = pendingHistoryPath(dataFolder);
    PendingHistory pending = readPendingHistory(path);
    if (pending.rows.isEmpty())
        return true;
    const qsizetype stored = storeHistoryRows(history.connection(), pending.rows);
    if (stored == 0)
        return false;
    pending.rows.remove(0, stored);
    // Should the rewrite fail, the stored rows would be stored again next
    // time: a duplicate row is better than a lost one.
    writePendingHistory(path, pending);
    return pending.rows.isEmpty();
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
