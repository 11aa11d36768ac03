#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

// One sale at the counter: a generation run that created vouchers.
struct PosHistoryEntry
{
    qint32 count = 0;     // vouchers of the sale
    QString title;        // the profile's title, at most 99 characters
    qint32 unitPrice = 0; // hundredths
};

// The 216-byte image of an entry (size 216, kind 2) as PosHistory.bin holds it;
// a longer title is cut to 99 characters.
QByteArray encodePosHistoryEntry(const PosHistoryEntry &entry);

// PosHistory.bin in the data folder; empty without a data folder.
QString posHistoryPath(const QString &dataFolder);

// What a PosHistory.bin holds: its sales, oldest first, and whether every byte
// of it belongs to a sale record (of kind 2, or the older kind 1). Reading stops
// at a record size under 8 or over 216 and at a record cut short; a record of
// another kind or size is passed over. Either way the file is not whole.
struct PosHistoryFile
{
    QList<PosHistoryEntry> entries;
    bool whole = true;
};
PosHistoryFile decodePosHistoryFile(const QByteArray &bytes);
// The file of these sales: one 216-byte record each.
QByteArray encodePosHistoryFile(const QList<PosHistoryEntry> &entries);
// The sale as the file keeps it (the title cut to 99 units, ending at a NUL).
PosHistoryEntry storedPosHistoryEntry(const PosHistoryEntry &entry);

// The latest sales with a running total, shown by the POS window. The last 99
// entries are kept in a ring; the total counts every entry since the last clear
// or assignment, also those that have dropped out of the ring. It lives in
// memory: PosHistory.bin is written from the data folder's journal, where
// every sale is recorded first.
class PosHistory
{
public:
    static constexpr int Capacity = 99;

    // Adds the sale at the newest end (dropping the oldest when 99 are held).
    // Returns count × unitPrice.
    qint32 append(const PosHistoryEntry &entry);
    // Replaces the newest entry (a sale that grew while its vouchers were
    // made); the total follows. Appends when the history is empty.
    void updateNewest(const PosHistoryEntry &entry);
    // Empties the history and zeroes the total.
    void clear();
    // The history of these sales, oldest first, as loading a file gives it:
    // the last 99 held, the total of all.
    void assign(const QList<PosHistoryEntry> &entries);

    int size() const;                          // entries held, 0 to 99
    const PosHistoryEntry &entry(int i) const; // 0 = oldest
    QList<PosHistoryEntry> entries() const;    // oldest first
    qint32 total() const { return m_total; }

private:
    void add(const PosHistoryEntry &entry);

    std::array<PosHistoryEntry, Capacity + 1> m_slots;
    int m_start = 0;
    int m_end = 0;
    qint32 m_total = 0;
};
