#pragma once

#include <QString>
#include <QtGlobal>

// The highest serial number the data folder's journal (HistoryPending.jsonl)
// holds: of rows waiting for the database, of vouchers not yet confirmed by
// their router, and of sales. 0 when it holds none (or there is no file).
quint32 highestJournalSerial(const QString &dataFolder);
