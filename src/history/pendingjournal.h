#pragma once

#include "historyrow.h"

#include <QString>

// The journal of a generation run, kept in the pending file of the data folder
// (see pendinghistory.h) beside the rows that wait for the database. The caller
// holds the data folder's run lock, so no other run rewrites the file meanwhile.
// Every change replaces the file atomically; false when it could not be written.

// The voucher is about to go to the router: its row is written down as
// unconfirmed, replacing the entry of the same serial (the voucher's earlier
// name, refused by the router).
bool journalUnconfirmed(const QString &dataFolder, const HistoryRow &row);

// The router holds the voucher: its unconfirmed entry goes, and its row waits
// in the file unless it is already `stored` in the database.
bool settleConfirmed(const QString &dataFolder, const HistoryRow &row, bool stored);

// The router does not hold the voucher of that serial: its entry goes.
bool dropUnconfirmed(const QString &dataFolder, quint32 serial);
