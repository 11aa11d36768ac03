#pragma once

#include "generation/voucherrecord.h"

#include <QString>

class HistoryDatabase;
class OperatorInteraction;

// Where the history is kept and where its rows wait: the "HistoryDatabase"
// setting (empty: the SQLite file in the data folder) and the data folder,
// which holds the pending file.
struct HistoryPlace
{
    QString database;
    QString dataFolder;
};

// Opens the history database at the place and first stores the rows that
// waited for it. False when it cannot be opened.
bool openHistory(HistoryDatabase &history, const HistoryPlace &place);

// Records every voucher of the batch, in creation order, as a row of the
// History table naming the router. Rows that cannot be stored (the database is
// unreachable, or fails on a row) wait in the pending file and are stored at
// the next open, so no voucher made on a router goes missing from the history.
// The operator is told once that the history could not be reached
// (`warningShown` remembers it), and again only after it has been reached since.
void insertHistory(const BatchList &batch, const QString &routerName, const HistoryPlace &place,
                   bool &warningShown, OperatorInteraction &interaction);
