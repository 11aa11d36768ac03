#pragma once

#include "historyrow.h"
#include "pendinghistory.h"

#include <QHash>
#include <QString>
#include <optional>

// The journal of a generation run, kept in the pending file of the data folder
// (see pendinghistory.h) beside the rows that wait for the database. The caller
// holds the data folder's run lock, so no other run rewrites the file meanwhile.
// Every change replaces the file atomically; false when it could not be written.

// The voucher is about to go to the router: its row is written down as
// unconfirmed, replacing the entry of the same serial (the voucher's earlier
// name, refused by the router).
bool journalUnconfirmed(const QString &dataFolder, const HistoryRow &row);
// The same for several vouchers going to the router together, in one write.
bool journalUnconfirmed(const QString &dataFolder, const QList<HistoryRow> &rows);

// The router holds the voucher: its unconfirmed entry goes, and its row waits
// in the file unless it is already `stored` in the database.
bool settleConfirmed(const QString &dataFolder, const HistoryRow &row, bool stored);
// The same for several vouchers in one write: the first `stored` rows are in
// the database, the others wait in the file.
bool settleConfirmed(const QString &dataFolder, const QList<HistoryRow> &rows, qsizetype stored);

// The router does not hold the voucher of that serial: its entry goes.
bool dropUnconfirmed(const QString &dataFolder, quint32 serial);

// The same journal for a whole run: the file is read once and then kept in
// memory, as nobody else rewrites it while the run holds the lock, and each
// entry is encoded once. A failed write makes the next change read the file
// again.
class PendingJournal
{
public:
    explicit PendingJournal(const QString &dataFolder);

    bool journalUnconfirmed(const QList<HistoryRow> &rows);
    bool settleConfirmed(const QList<HistoryRow> &rows, qsizetype stored);
    bool dropUnconfirmed(quint32 serial);

private:
    PendingHistory *content();
    bool write();

    QString m_path;
    std::optional<PendingHistory> m_content; // what the file holds, once read
    QHash<quint32, QByteArray> m_lines;      // unconfirmed entries as written, by serial
};
