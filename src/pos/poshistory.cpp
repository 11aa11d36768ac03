#include "poshistory.h"

#include "base/binaryfields.h"

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 RecordSize = 216;
constexpr quint32 RecordKind = 2;
constexpr quint32 OldRecordSize = 116;
constexpr quint32 OldRecordKind = 1;
constexpr qsizetype TitleUnits = 100;
constexpr qsizetype OldTitleBytes = 100;
constexpr int Slots = PosHistory::Capacity + 1;

qint32 getI32(const QByteArray &record, qsizetype offset)
{
    return qint32(getU32(record, offset));
}

// count × unitPrice as the 32-bit amount the history adds up, wrapping
// around instead of overflowing.
qint32 amountOf(const PosHistoryEntry &entry)
{
    return qint32(quint32(entry.count) * quint32(entry.unitPrice));
}

PosHistoryEntry entryFromRecord(const QByteArray &r)
{
    PosHistoryEntry entry;
    entry.count = getI32(r, 8);
    entry.title = getText(r, 12, TitleUnits);
    entry.unitPrice = getI32(r, 212);
    return entry;
}

// A record of the older kind: the same fields with a UTF-8 title of 100 bytes.
PosHistoryEntry entryFromOldRecord(const QByteArray &r)
{
    QByteArrayView title(r.constData() + 12, OldTitleBytes);
    const qsizetype nul = title.indexOf('\0');
    if (nul >= 0)
        title = title.first(nul);
    PosHistoryEntry entry;
    entry.count = getI32(r, 8);
    entry.title = QString::fromUtf8(title);
    entry.unitPrice = getI32(r, 112);
    return entry;
}

} // namespace

QByteArray encodePosHistoryEntry(const PosHistoryEntry &entry)
{
    QByteArray r(RecordSize, '\0');
    putU32(r, 0, RecordSize);
    putU32(r, 4, RecordKind);
    putU32(r, 8, quint32(entry.count));
    // Zeros only after the terminator, also when the title holds a NUL.
    const qsizetype nul = entry.title.indexOf(QChar(u'\0'));
    putText(r, 12, nul < 0 ? entry.title : entry.title.first(nul), TitleUnits);
    putU32(r, 212, quint32(entry.unitPrice));
    return r;
}

QString posHistoryPath(const QString &dataFolder)
{
    if (dataFolder.isEmpty())
        return {};
    return dataFolder + u"/PosHistory.bin"_s;
}

PosHistoryEntry storedPosHistoryEntry(const PosHistoryEntry &entry)
{
    return entryFromRecord(encodePosHistoryEntry(entry));
}

PosHistoryFile decodePosHistoryFile(const QByteArray &bytes)
{
    PosHistoryFile file;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const quint32 size = bytes.size() - at >= 4 ? getU32(bytes, at) : 0;
        if (size < 8 || size > RecordSize || qsizetype(size) > bytes.size() - at) {
            file.whole = false;
            break;
        }
        const QByteArray record = bytes.sliced(at, size);
        const quint32 kind = getU32(record, 4);
        if (kind == RecordKind && size == RecordSize)
            file.entries.append(storedPosHistoryEntry(entryFromRecord(record)));
        else if (kind == OldRecordKind && size == OldRecordSize)
            file.entries.append(storedPosHistoryEntry(entryFromOldRecord(record)));
        else
            file.whole = false;
        at += size;
    }
    return file;
}

QByteArray encodePosHistoryFile(const QList<PosHistoryEntry> &entries)
{
    QByteArray bytes;
    bytes.reserve(entries.size() * RecordSize);
    for (const PosHistoryEntry &entry : entries)
        bytes += encodePosHistoryEntry(entry);
    return bytes;
}

qint32 PosHistory::append(const PosHistoryEntry &entry)
{
    add(storedPosHistoryEntry(entry));
    return amountOf(entry);
}

void PosHistory::updateNewest(const PosHistoryEntry &entry)
{
    if (size() == 0) {
        append(entry);
        return;
    }
    PosHistoryEntry &newest = m_slots[(m_end + Slots - 1) % Slots];
    m_total = qint32(quint32(m_total) - quint32(amountOf(newest)));
    newest = storedPosHistoryEntry(entry);
    m_total = qint32(quint32(m_total) + quint32(amountOf(newest)));
}

void PosHistory::clear()
{
    m_start = 0;
    m_end = 0;
    m_total = 0;
}

void PosHistory::assign(const QList<PosHistoryEntry> &entries)
{
    clear();
    for (const PosHistoryEntry &entry : entries)
        add(storedPosHistoryEntry(entry));
}

int PosHistory::size() const
{
    return (m_end - m_start + Slots) % Slots;
}

const PosHistoryEntry &PosHistory::entry(int i) const
{
    Q_ASSERT(i >= 0 && i < size());
    return m_slots[(m_start + i) % Slots];
}

QList<PosHistoryEntry> PosHistory::entries() const
{
    QList<PosHistoryEntry> list;
    list.reserve(size());
    for (int i = 0; i < size(); ++i)
        list.append(entry(i));
    return list;
}

void PosHistory::add(const PosHistoryEntry &entry)
{
    m_slots[m_end] = entry;
    m_end = (m_end + 1) % Slots;
    // One slot always stays free: when the ring is full the oldest entry goes.
    if (m_end == m_start)
        m_start = (m_start + 1) % Slots;
    m_total = qint32(quint32(m_total) + quint32(amountOf(entry)));
}
