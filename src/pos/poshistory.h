#pragma once

#include <QByteArray>
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

// PosHistory.bin in the data folder.
QString posHistoryPath(const QString &dataFolder);

// The latest sales with a running total, shown by the POS window. The last 99
// entries are kept in a ring; the total counts every entry since the last clear
// or load, also those that have dropped out of the ring.
//
// Every change is written to the file at once (atomically), so a crash or a
// power cut loses no sale. A change whose write failed stays unsaved: the next
// change, the next load and the exit try again, and a load never discards it.
// The file is read before the first change, also when nobody asked for the
// load, so a change never writes a file that lacks the sales it held.
class PosHistory
{
public:
    static constexpr int Capacity = 99;

    // The file the history is loaded from and saved to; empty: memory only.
    // Until the next load or change, the history holds what it held.
    void setFile(const QString &path)
    {
        m_file = path;
        m_loaded = false;
    }
    QString file() const { return m_file; }

    // Adds the sale at the newest end (dropping the oldest when 99 are held)
    // and writes the file. Returns count × unitPrice.
    qint32 append(const PosHistoryEntry &entry);
    // Replaces the newest entry (a sale that grew while its vouchers were made)
    // and writes the file; the total follows. Appends when the history is empty.
    void updateNewest(const PosHistoryEntry &entry);
    // Empties the history, zeroes the total and writes the (empty) file.
    void clear();
    // Replaces the history by the file's content. When a change could not be
    // written, the file is written first; if that still fails, the history in
    // memory is kept as it is.
    void load();
    // Writes the file; false when it could not be written (the old file stays).
    bool save();

    int size() const;                          // entries held, 0 to 99
    const PosHistoryEntry &entry(int i) const; // 0 = oldest
    qint32 total() const { return m_total; }
    bool dirty() const { return m_dirty; }     // changed since the last load
    bool unsaved() const { return m_unsaved; } // changed since the last successful write

private:
    void add(const PosHistoryEntry &entry);
    void loadBeforeChange();

    std::array<PosHistoryEntry, Capacity + 1> m_slots;
    int m_start = 0;
    int m_end = 0;
    qint32 m_total = 0;
    bool m_dirty = false;
    bool m_unsaved = false;
    bool m_loaded = false; // the file has been read since it was set
    QString m_file;
};
