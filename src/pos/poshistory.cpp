#include "poshistory.h"

#include "base/atomicfile.h"
#include "base/binaryfields.h"
#include "base/paths.h"
#include "base/recordfile.h"

#include <QFile>
#include <QFileInfo>

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

// The entry as the file keeps it: the title cut to 99 units (never half a
// surrogate pair) and ending at a NUL.
PosHistoryEntry stored(const PosHistoryEntry &entry)
{
    return entryFromRecord(encodePosHistoryEntry(entry));
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
    // Without a data folder the history stays in memory.
    if (dataFolder.isEmpty())
        return {};
    return dataFolder + u"/PosHistory.bin"_s;
}

qint32 PosHistory::append(const PosHistoryEntry &entry)
{
    loadBeforeChange();
    add(stored(entry));
    m_dirty = true;
    m_unsaved = true;
    save();
    return amountOf(entry);
}

void PosHistory::updateNewest(const PosHistoryEntry &entry)
{
    loadBeforeChange();
    if (size() == 0) {
        append(entry);
        return;
    }
    PosHistoryEntry &newest = m_slots[(m_end + Slots - 1) % Slots];
    m_total = qint32(quint32(m_total) - quint32(amountOf(newest)));
    newest = stored(entry);
    m_total = qint32(quint32(m_total) + quint32(amountOf(newest)));
    m_dirty = true;
    m_unsaved = true;
    save();
}

void PosHistory::clear()
{
    loadBeforeChange();
    m_start = 0;
    m_end = 0;
    m_total = 0;
    m_dirty = true;
    m_unsaved = true;
    save();
}

void PosHistory::load()
{
    // Sales that did not reach the file yet are written before the file is
    // read; when that fails they stay in memory rather than being replaced.
    if (m_unsaved && !save())
        return;

    m_start = 0;
    m_end = 0;
    m_total = 0;
    if (!m_file.isEmpty()) {
        QFile file(m_file);
        if (file.open(QIODevice::ReadOnly)) {
            // A size over 216 or a record cut short ends the reading; a record
            // of another kind, or of a size that does not fit its kind, is
            // skipped whole.
            readRecords(file, RecordSize + 1, [this](quint32 kind, const QByteArray &record) {
                if (kind == RecordKind && record.size() == RecordSize)
                    add(stored(entryFromRecord(record)));
                else if (kind == OldRecordKind && record.size() == OldRecordSize)
                    add(stored(entryFromOldRecord(record)));
                return true;
            });
        }
    }
    m_dirty = false;
    m_unsaved = false;
    m_loaded = true;
}

void PosHistory::loadBeforeChange()
{
    if (!m_loaded && !m_file.isEmpty())
        load();
}

bool PosHistory::save()
{
    if (m_file.isEmpty())
        return false;
    QByteArray bytes;
    bytes.reserve(size() * RecordSize);
    for (int i = 0; i < size(); ++i)
        bytes += encodePosHistoryEntry(entry(i));
    if (!ensureFolder(QFileInfo(m_file).absolutePath()) || !writeFileAtomically(m_file, bytes))
        return false;
    m_unsaved = false;
    return true;
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

void PosHistory::add(const PosHistoryEntry &entry)
{
    m_slots[m_end] = entry;
    m_end = (m_end + 1) % Slots;
    // One slot always stays free: when the ring is full the oldest entry goes.
    if (m_end == m_start)
        m_start = (m_start + 1) % Slots;
    m_total = qint32(quint32(m_total) + quint32(amountOf(entry)));
}
