#pragma once

#include "historyrow.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The data folder's journal, HistoryPending.jsonl: what a run made on a router
// and sold at the counter, written down so that a kill, a full disk or an
// unreachable database at any moment loses nothing and sells nothing twice.
//
// One JSON object a line, each line one change, appended whole; the journal's
// state is what replaying the lines in order gives:
// - a history row (no "Journal" key): a voucher's row waiting for the database;
// - "unconfirmed" with the row: a voucher about to go to its router (a later
//   line of the same serial replaces it: the voucher's new name);
// - "withdrawn": the router does not hold those serials;
// - "confirmed": the router holds those serials. In the same line they leave
//   the unconfirmed vouchers, their rows the database did not take wait, and
//   they join their sale: a voucher is confirmed and sold together or not at
//   all. Serials that are no longer unconfirmed are passed over, so a line
//   replayed twice changes nothing the second time;
// - "cleared": the counter's sales were cleared;
// - "sales": the counter's sales as a whole (taken from PosHistory.bin when the
//   journal starts keeping them, and written by compaction);
// - "posted": PosHistory.bin was written from the journal (its SHA-256).
// A line that cannot be read is kept as it is and otherwise passed over. The
// last line without its line break was cut off while it was being written: it
// counts only when it reads whole.

// Serial numbers, ascending.
using SerialList = QList<quint32>;

// Serial numbers as ascending ranges that neither touch nor overlap: a sale
// of a million vouchers is one range.
struct SerialRange
{
    quint32 first = 0;
    quint32 last = 0;
    friend bool operator==(const SerialRange &, const SerialRange &) = default;
};
using SerialRanges = QList<SerialRange>;

// The counter shows this many of the latest sales; the journal keeps as many.
constexpr qsizetype JournalSalesKept = 99;

// A voucher on its way to the router.
struct JournalEntry
{
    HistoryRow row;      // as the history will hold it, with its serial
    QString routerAt;    // the router's "address:port"
    QString profileName; // the router's name of a User Manager profile
    QString saleTitle;   // the profile's title as sold (the row's may be cut)
    // Written by an older program, which sold a voucher once its row was in
    // the database and before it settled the entry.
    bool legacy = false;
};

// One sale at the counter.
struct JournalSale
{
    QString id; // the run's or the recovery's; empty for a sale taken from PosHistory.bin
    QString title;
    qint32 unitPrice = 0; // hundredths
    qint32 count = 0;     // vouchers sold
    SerialRanges serials; // the vouchers sold (none for a sale taken from PosHistory.bin)
};

// The vouchers of one change that join a sale.
struct SaleShare
{
    QString id;
    QString title;
    qint32 unitPrice = 0;
    SerialList serials;
};

// Vouchers their router confirmed, in one change.
struct JournalConfirmation
{
    SerialList serials;
    QList<HistoryRow> waiting; // rows of them the database did not take
    // The sales they join. A confirmed serial in no sale was sold before.
    QList<SaleShare> sales;
};

struct JournalState
{
    QList<HistoryRow> waiting;
    QList<JournalEntry> unconfirmed; // in the order first written
    QList<JournalSale> sales;        // the latest, oldest first
    bool keepsSales = false;         // the sales are kept here (PosHistory.bin follows them)
    QByteArray postedHash;           // of the PosHistory.bin last written from the journal
    QList<QByteArray> unreadable;    // lines kept as they are
};

// The lines of the changes, without their line breaks.
QByteArray waitingLine(const HistoryRow &row);
QByteArray unconfirmedLine(const JournalEntry &entry);
QByteArray withdrawnLine(const SerialList &serials);
QByteArray confirmedLine(const JournalConfirmation &confirmation);
QByteArray clearedLine();
// `kept`: the journal keeps the counter's sales from now on (false: these are
// sales confirmed before it took those of PosHistory.bin).
QByteArray salesLine(const QList<JournalSale> &sales, bool kept = true);
QByteArray postedLine(const QByteArray &hash);

// Applies one line (without its line break) to the state; false when it
// could not be read (it is then kept among the unreadable lines).
bool replayJournalLine(JournalState &state, const QByteArray &line);
// The state of the file's bytes. `committed` (when given) is the size of what
// counts: all but a last line cut off while it was written.
JournalState replayJournal(const QByteArray &bytes, qsizetype *committed = nullptr);
// The shortest file with the same state.
QByteArray compactJournal(const JournalState &state);

// "1-64,70": serials as ranges, and back (nothing when the text is not such a
// list, or names more serials than one change ever holds).
QString serialRanges(const SerialList &serials);
std::optional<SerialList> parseSerialRanges(const QString &text);
// The same for ranges kept as they are.
QString serialRangesText(const SerialRanges &ranges);
std::optional<SerialRanges> parseSerialRangesText(const QString &text);
// Adds the serials to the ranges.
void addSerials(SerialRanges &ranges, const SerialList &serials);

// The entry's serial, 0 when it has none.
quint32 entrySerial(const JournalEntry &entry);
