#include "journalserial.h"

#include "pendinghistory.h"

quint32 highestJournalSerial(const QString &dataFolder)
{
    const PendingHistory pending = readPendingHistory(pendingHistoryPath(dataFolder));
    quint32 highest = 0;
    for (const QList<HistoryRow> *rows : {&pending.rows, &pending.unconfirmed}) {
        for (const HistoryRow &row : *rows)
            highest = qMax(highest, row.Serial.value_or(0));
    }
    return highest;
}
