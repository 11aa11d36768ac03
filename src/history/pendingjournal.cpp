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
    return PendingJournal(dataFolder).journalUnconfirmed({row});
}

bool journalUnconfirmed(const QString &dataFolder, const QList<HistoryRow> &rows)
{
    return PendingJournal(dataFolder).journalUnconfirmed(rows);
}

bool settleConfirmed(const QString &dataFolder, const HistoryRow &row, bool stored)
{
    return PendingJournal(dataFolder).settleConfirmed({row}, stored ? 1 : 0);
}

bool settleConfirmed(const QString &dataFolder, const QList<HistoryRow> &rows, qsizetype stored)
{
    return PendingJournal(dataFolder).settleConfirmed(rows, stored);
}

bool dropUnconfirmed(const QString &dataFolder, quint32 serial)
{
    return PendingJournal(dataFolder).dropUnconfirmed(serial);
}

PendingJournal::PendingJournal(const QString &dataFolder) : m_path(pendingHistoryPath(dataFolder)) {}

PendingHistory *PendingJournal::content()
{
    if (!m_content)
        m_content = readForChange(m_path);
    return m_content ? &*m_content : nullptr;
}

bool PendingJournal::write()
{
    QByteArray bytes;
    for (const HistoryRow &row : m_content->rows)
        bytes += encodePendingLine(row, false) + '\n';
    for (const HistoryRow &row : m_content->unconfirmed) {
        if (!row.Serial) {
            bytes += encodePendingLine(row, true) + '\n';
            continue;
        }
        QByteArray &line = m_lines[*row.Serial];
        if (line.isEmpty())
            line = encodePendingLine(row, true);
        bytes += line + '\n';
    }
    for (const QByteArray &line : m_content->unreadable)
        bytes += line + '\n';
    if (writePendingBytes(m_path, bytes))
        return true;
    m_content.reset();
    m_lines.clear();
    return false;
}

bool PendingJournal::journalUnconfirmed(const QList<HistoryRow> &rows)
{
    PendingHistory *pending = content();
    if (!pending)
        return false;
    for (const HistoryRow &row : rows) {
        removeUnconfirmed(*pending, row.Serial);
        if (row.Serial)
            m_lines.remove(*row.Serial); // a new name
        pending->unconfirmed.append(row);
    }
    return write();
}

bool PendingJournal::settleConfirmed(const QList<HistoryRow> &rows, qsizetype stored)
{
    PendingHistory *pending = content();
    if (!pending)
        return false;
    bool changed = false;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        changed = removeUnconfirmed(*pending, rows[i].Serial) || changed;
        if (rows[i].Serial)
            m_lines.remove(*rows[i].Serial);
        if (i >= stored) {
            pending->rows.append(rows[i]);
            changed = true;
        }
    }
    if (!changed)
        return true; // nothing of them is in the file
    return write();
}

bool PendingJournal::dropUnconfirmed(quint32 serial)
{
    PendingHistory *pending = content();
    if (!pending)
        return false;
    m_lines.remove(serial);
    if (!removeUnconfirmed(*pending, serial))
        return true;
    return write();
}
