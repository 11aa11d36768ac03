// HistoryPending.jsonl from any bytes: replaying it never fails badly, what
// counts ends at a line break (or is the whole file), the journal keeps at
// most the latest 99 sales with ascending serials, and its shortest form
// replays to the same state and is stable.

#include "fuzzcheck.h"

#include "history/journalstate.h"

#include <QStringList>

namespace {

// The state in words, for comparing two states.
QStringList described(const JournalState &state)
{
    QStringList words;
    for (const HistoryRow &row : state.waiting)
        words << QStringLiteral("waiting %1 %2").arg(row.UserName).arg(row.Serial.value_or(0));
    for (const JournalEntry &entry : state.unconfirmed)
        words << QStringLiteral("unconfirmed %1 %2 %3 %4")
                     .arg(entry.row.UserName)
                     .arg(entrySerial(entry))
                     .arg(entry.routerAt)
                     .arg(entry.legacy);
    for (const JournalSale &sale : state.sales)
        words << QStringLiteral("sale %1 %2 %3 %4 %5")
                     .arg(sale.id, sale.title)
                     .arg(sale.unitPrice)
                     .arg(sale.count)
                     .arg(serialRangesText(sale.serials));
    words << QStringLiteral("kept %1 posted %2")
                 .arg(state.keepsSales)
                 .arg(QString::fromLatin1(state.postedHash.toHex()));
    for (const QByteArray &line : state.unreadable)
        words << QString::fromLatin1(line.toHex());
    return words;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    qsizetype committed = -1;
    const JournalState state = replayJournal(input, &committed);
    require(committed >= 0 && committed <= input.size(), "what counts lies within the file");
    require(committed == input.size() || committed == 0 || input.at(committed - 1) == '\n',
            "what counts ends at a line break");
    require(state.sales.size() <= JournalSalesKept, "at most 99 sales are kept");
    for (const JournalSale &sale : state.sales) {
        for (qsizetype i = 0; i < sale.serials.size(); ++i) {
            require(sale.serials[i].first <= sale.serials[i].last, "a range runs upwards");
            require(i == 0 || quint64(sale.serials[i - 1].last) + 1 < sale.serials[i].first,
                    "a sale's ranges ascend and neither touch nor overlap");
        }
    }

    const QByteArray compact = compactJournal(state);
    const JournalState back = replayJournal(compact);
    require(described(back) == described(state), "the shortest form replays to the same state");
    require(compactJournal(back) == compact, "the shortest form is stable");
    return 0;
}
