#pragma once

#include <QString>

class HistoryDatabase;

// Where the history is kept and where its rows wait: the "HistoryDatabase"
// setting (empty: the SQLite file in the data folder) and the data folder,
// which holds the pending file.
struct HistoryPlace
{
    QString database;
    QString dataFolder;
};

// Opens the history database at the place and first stores the rows that
// waited for it in the pending file, when the data folder's run lock is held
// (`runLockHeld`) or free: the file is never rewritten under a run of another
// process. False when the database cannot be opened.
bool openHistory(HistoryDatabase &history, const HistoryPlace &place, bool runLockHeld = false);
