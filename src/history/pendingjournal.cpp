#include "pendingjournal.h"

#include "pendinghistory.h"

#include "base/appendfile.h"
#include "base/atomicfile.h"
#include "base/paths.h"

#include <QFile>
#include <QFileInfo>

namespace {

std::optional<QByteArray> readBytes(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Appends the bytes after the first `committed` bytes of the file, cutting off
// whatever follows them (a change cut off while it was written), and syncs
// when `durable`. On failure the file is cut back to `committed`.
bool appendAt(const QString &path, qsizetype committed, const QByteArray &bytes, bool durable)
{
    AppendFile file;
    if (!file.open(path))
        return false;
    const qint64 size = file.size();
    if (size < committed || (size > committed && !file.truncate(committed)))
        return false;
    if (!file.append(bytes))
        return false;
    if (!durable || file.sync())
        return true;
    if (file.truncate(committed))
        file.sync();
    return false;
}

} // namespace

PendingJournal::PendingJournal(const QString &dataFolder) : m_path(pendingHistoryPath(dataFolder)) {}

bool PendingJournal::load()
{
    if (m_state)
        return true;
    if (m_path.isEmpty())
        return false;
    const std::optional<QByteArray> bytes = readBytes(m_path);
    if (!bytes)
        return false;
    m_state = replayJournal(*bytes, &m_committed);
    m_appended = m_committed != bytes->size();
    return true;
}

bool PendingJournal::append(const QList<QByteArray> &lines, bool durable)
{
    // Another holder of the lock in this process (storing the waiting rows)
    // may have rewritten the file since it was read: it is read again, and
    // the change applies to what it holds now.
    if (m_state && QFileInfo(m_path).size() != m_committed)
        m_state.reset();
    if (!load() || !ensureFolder(QFileInfo(m_path).absolutePath()))
        return false;
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + '\n';
    if (!appendAt(m_path, m_committed, bytes, durable)) {
        // What the file holds now is read again before the next change.
        m_state.reset();
        return false;
    }
    m_committed += bytes.size();
    for (const QByteArray &line : lines)
        replayJournalLine(*m_state, line);
    m_appended = true;
    return true;
}

bool PendingJournal::record(const QList<JournalEntry> &entries)
{
    QList<QByteArray> lines;
    lines.reserve(entries.size());
    for (const JournalEntry &entry : entries)
        lines.append(unconfirmedLine(entry));
    return append(lines);
}

bool PendingJournal::confirm(const JournalConfirmation &confirmation)
{
    return append({confirmedLine(confirmation)});
}

bool PendingJournal::withdraw(const SerialList &serials)
{
    return append({withdrawnLine(serials)});
}

bool PendingJournal::clearSales()
{
    return append({clearedLine()});
}

bool PendingJournal::keepSales(const QList<JournalSale> &sales)
{
    return append({salesLine(sales)});
}

bool PendingJournal::posted(const QByteArray &hash)
{
    // Not synced: should a power cut take it, the file it names is only kept
    // aside at the next start, and written again from the journal.
    return append({postedLine(hash)}, false);
}

bool PendingJournal::dropWaiting(qsizetype count)
{
    if (!load())
        return false;
    m_state->waiting.remove(0, qMin(count, m_state->waiting.size()));
    m_appended = true;
    if (compact())
        return true;
    m_state.reset();
    return false;
}

bool PendingJournal::compact()
{
    if (!load())
        return false;
    if (!m_appended)
        return true;
    const QByteArray bytes = compactJournal(*m_state);
    const bool written = bytes.isEmpty() ? !QFile::exists(m_path) || QFile::remove(m_path)
                                         : writeFileAtomically(m_path, bytes, FileAccess::OwnerOnly);
    if (!written)
        return false;
    m_committed = bytes.size();
    m_appended = false;
    return true;
}

std::optional<JournalState> readJournal(const QString &dataFolder)
{
    const QString path = pendingHistoryPath(dataFolder);
    if (path.isEmpty())
        return JournalState{};
    const std::optional<QByteArray> bytes = readBytes(path);
    if (!bytes)
        return std::nullopt;
    return replayJournal(*bytes);
}
