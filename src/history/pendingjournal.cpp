#include "pendingjournal.h"

#include "pendinghistory.h"

#include <QFile>

namespace {

// The file's content before a change; nothing when it exists but cannot be
// read, so a change never replaces what it could not see.
std::optional<PendingHistory> readForChange(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    QFile file(path);
    if (!file.exists())
        return PendingHistory{};
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decodePendingHistory(file.readAll());
}

// Takes the unconfirmed entry of the serial out; true when there was one.
bool removeUnconfirmed(PendingHistory &pending, std::optional<quint32> serial)
{
    const auto before = pending.unconfirmed.size();
    pending.unconfirmed.removeIf([&](const HistoryRow &entry) { return entry.Serial == serial; });
    return pending.unconfirmed.size() != before;
}

} // namespace

bool journalUnconfirmed(const QString &dataFolder, const HistoryRow &row)
{
    const QString path = pendingHistoryPath(dataFolder);
    std::optional<PendingHistory> pending = readForChange(path);
    if (!pending)
        return false;
    removeUnconfirmed(*pending, row.Serial);
    pending->unconfirmed.append(row);
    return writePendingHistory(path, *pending);
}

bool settleConfirmed(const QString &dataFolder, const HistoryRow &row, bool stored)
{
    const QString path = pendingHistoryPath(dataFolder);
    std::optional<PendingHistory> pending = readForChange(path);
    if (!pending)
        return false;
    const bool journalled = removeUnconfirmed(*pending, row.Serial);
    if (stored && !journalled)
        return true; // nothing of it is in the file
    if (!stored)
        pending->rows.append(row);
    return writePendingHistory(path, *pending);
}

bool dropUnconfirmed(const QString &dataFolder, quint32 serial)
{
    const QString path = pendingHistoryPath(dataFolder);
    std::optional<PendingHistory> pending = readForChange(path);
    if (!pending)
        return false;
    if (!removeUnconfirmed(*pending, serial))
        return true;
    return writePendingHistory(path, *pending);
}
