#pragma once

struct AppState;
class OperatorInteraction;

// Opens the history database the settings name ("HistoryDatabase"; empty: the
// SQLite file in the data folder) and first stores the rows that waited for it.
// False when it cannot be opened.
bool openHistory(AppState &state);
void closeHistory(AppState &state);

// Records every voucher of the batch, in creation order, as a row of the
// History table. Rows that cannot be stored (the database is unreachable, or
// fails on a row) wait in the pending file and are stored at the next open, so
// no voucher made on a router goes missing from the history. The operator is
// told once that the history could not be reached, and again only after it has
// been reached since.
void insertHistory(AppState &state, OperatorInteraction &interaction);
