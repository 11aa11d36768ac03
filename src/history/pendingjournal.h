#pragma once

#include "journalstate.h"

#include <QString>
#include <optional>

// The data folder's journal as one holder of the run lock changes it: read
// once, then appended to, one change a write, each change durable (synced)
// before the call returns. Nobody else writes the file meanwhile. A change
// that could not be written is not applied, and leaves the file as it was.
class PendingJournal
{
public:
    explicit PendingJournal(const QString &dataFolder);

    // Reads the file when it has not been read yet; false when it is there but
    // cannot be read, and then no change may be written.
    bool load();
    // What the journal holds; load() must have succeeded.
    const JournalState &state() const { return *m_state; }

    bool record(const QList<JournalEntry> &entries); // unconfirmed vouchers
    bool confirm(const JournalConfirmation &confirmation);
    bool withdraw(const SerialList &serials);
    bool clearSales();
    bool keepSales(const QList<JournalSale> &sales);
    bool posted(const QByteArray &hash);
    // The first `count` waiting rows are in the database now: they leave the
    // file, which is rewritten at once.
    bool dropWaiting(qsizetype count);

    // Rewrites the file as its shortest form when changes were appended since
    // it was read or last compacted; false when that failed (the file is then
    // as it was, and still right).
    bool compact();

private:
    bool append(const QList<QByteArray> &lines, bool durable = true);

    QString m_path;
    std::optional<JournalState> m_state;
    qsizetype m_committed = 0; // the file's size that counts
    bool m_appended = false;
};

// The journal's state read by anyone, with or without the run lock; nothing
// when the file is there but cannot be read.
std::optional<JournalState> readJournal(const QString &dataFolder);
