#pragma once

#include "history/journalstate.h"
#include "pos/poshistory.h"

#include <QList>
#include <QString>

class OperatorInteraction;
class PendingJournal;

// PosHistory.bin shows the counter's sales as the data folder's journal keeps
// them: every sale is written to the journal first (in the same line that
// confirms its vouchers), and the file is written from the journal. After a
// kill between the two, the next writer finds the file behind the journal and
// writes it again: a sale is never missing from it, nor in it twice.
//
// The journal remembers the hash of the last file it wrote. A PosHistory.bin
// that is neither that file nor what the journal holds (one that does not
// read whole, or one put there by someone else) is kept under another name
// before the journal's sales are written.

// The sales as the counter shows them, oldest first.
QList<PosHistoryEntry> salesEntries(const QList<JournalSale> &sales);

struct SalesFileOutcome
{
    QString keptAs;             // the PosHistory.bin found, renamed to this
    bool journalFailed = false; // the journal could not be read or written
    bool unwritten = false;     // PosHistory.bin could not be written: its sales wait in the journal
};

// Under the data folder's run lock: the journal keeps the sales (from
// PosHistory.bin, the first time), and PosHistory.bin shows them. `now` (local
// time) names a file that is kept.
SalesFileOutcome reconcileSalesFile(PendingJournal &journal, const QString &dataFolder, const QDateTime &now);

// Tells the operator what they must know of the outcome: a file kept under
// another name (where), sales that could not be written (that they wait).
void reportSalesFile(const SalesFileOutcome &outcome, const QString &dataFolder,
                     OperatorInteraction &interaction);

// The sales the counter shows now, oldest first: the journal's, or
// PosHistory.bin's while the journal does not keep them yet.
QList<PosHistoryEntry> currentSales(const QString &dataFolder);

// When no run holds the data folder: PosHistory.bin brought up to the
// journal (at the program's end, retrying a write that failed).
SalesFileOutcome updateSalesFile(const QString &dataFolder, const QDateTime &now);

// Clears the counter's sales: in the journal, then in PosHistory.bin. False
// when they could not be cleared (the operator has been told why).
bool clearRecordedSales(const QString &dataFolder, const QDateTime &now, OperatorInteraction &interaction);
