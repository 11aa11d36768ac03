#include "journalserial.h"

#include "pendingjournal.h"

quint32 highestJournalSerial(const QString &dataFolder)
{
    const std::optional<JournalState> state = readJournal(dataFolder);
    if (!state)
        return 0;
    quint32 highest = 0;
    for (const HistoryRow &row : state->waiting)
        highest = qMax(highest, row.Serial.value_or(0));
    for (const JournalEntry &entry : state->unconfirmed)
        highest = qMax(highest, entrySerial(entry));
    for (const JournalSale &sale : state->sales) {
        if (!sale.serials.isEmpty())
            highest = qMax(highest, sale.serials.constLast().last);
    }
    return highest;
}
