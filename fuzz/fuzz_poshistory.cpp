// PosHistory.bin from any bytes: reading never fails badly, finds what a plain
// walk over the records finds, says the file is whole exactly when the walk
// passed nothing over, and the history of what was read (the last 99 sales,
// the total of all) is written and read back unchanged.

#include "filebytes.h"
#include "fuzzcheck.h"

#include "pos/poshistory.h"

#include <QList>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype TitleUnits = 100;

bool same(const PosHistoryEntry &a, const PosHistoryEntry &b)
{
    return a.count == b.count && a.title == b.title && a.unitPrice == b.unitPrice;
}

qint32 i32At(const char *p)
{
    return qFromLittleEndian<qint32>(p);
}

// The sales of the file, found by walking its records with nothing of the
// program's reader: a size over 216, under 8 or past the end stops the walk;
// kind 2 of size 216 and kind 1 of size 116 are sales, anything else is
// passed. `whole`: nothing was passed and the walk reached the end.
QList<PosHistoryEntry> walk(const QByteArray &bytes, bool &whole)
{
    QList<PosHistoryEntry> sales;
    qsizetype at = 0;
    whole = true;
    while (at < bytes.size()) {
        if (bytes.size() - at < 8) {
            whole = false;
            break;
        }
        const char *r = bytes.constData() + at;
        const quint32 size = qFromLittleEndian<quint32>(r);
        const quint32 kind = qFromLittleEndian<quint32>(r + 4);
        if (size > 216 || size < 8 || qsizetype(size) > bytes.size() - at) {
            whole = false;
            break;
        }
        at += size;
        PosHistoryEntry sale;
        if (kind == 2 && size == 216) {
            QString title;
            for (qsizetype i = 0; i < TitleUnits; ++i)
                title += QChar(qFromLittleEndian<quint16>(r + 12 + 2 * i));
            sale = {i32At(r + 8), title, i32At(r + 212)};
        } else if (kind == 1 && size == 116) {
            QByteArrayView title(r + 12, 100);
            const qsizetype nul = title.indexOf('\0');
            sale = {i32At(r + 8), QString::fromUtf8(nul < 0 ? title : title.first(nul)), i32At(r + 112)};
        } else {
            whole = false;
            continue;
        }
        sale.title = cutTextKeepingPairs(beforeNul(sale.title), TitleUnits - 1);
        sales.append(sale);
    }
    return sales;
}

QList<PosHistoryEntry> entries(const PosHistory &history)
{
    QList<PosHistoryEntry> list;
    for (int i = 0; i < history.size(); ++i)
        list.append(history.entry(i));
    return list;
}

bool sameEntries(const QList<PosHistoryEntry> &a, const QList<PosHistoryEntry> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (!same(a[i], b[i]))
            return false;
    }
    return true;
}

qint32 totalOf(const QList<PosHistoryEntry> &sales)
{
    quint32 total = 0;
    for (const PosHistoryEntry &sale : sales)
        total += quint32(sale.count) * quint32(sale.unitPrice);
    return qint32(total);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const PosHistoryFile file = decodePosHistoryFile(input);
    bool whole = false;
    const QList<PosHistoryEntry> sales = walk(input, whole);
    require(sameEntries(file.entries, sales), "the sales of the file are read, oldest first");
    require(file.whole == whole, "a file is whole when every byte belongs to a sale");

    PosHistory history;
    history.assign(file.entries);
    require(history.size() >= 0 && history.size() <= PosHistory::Capacity, "at most 99 sales are held");
    const QList<PosHistoryEntry> loaded = entries(history);
    for (const PosHistoryEntry &sale : loaded)
        require(sale.title.size() < TitleUnits && !sale.title.contains(QChar(u'\0')),
                "a title is at most 99 units and holds no NUL");
    require(sameEntries(loaded, sales.last(qMin(sales.size(), qsizetype(PosHistory::Capacity)))),
            "the last 99 sales of the file are held");
    require(history.total() == totalOf(sales), "the total counts every sale of the file");

    // Written, one 216-byte record per sale, it reads back the same and whole.
    const QByteArray bytes = encodePosHistoryFile(loaded);
    require(bytes.size() == 216 * loaded.size(), "one record of 216 bytes per sale");
    const PosHistoryFile reread = decodePosHistoryFile(bytes);
    require(reread.whole, "a written history is whole");
    require(sameEntries(reread.entries, loaded), "a written history reads back unchanged");

    // A sale with a title around the limit, made from the input: cut as the
    // file keeps it, the oldest dropped when 99 are held.
    PosHistoryEntry sale;
    sale.title = textFromInput(input, TitleUnits - 2 + qsizetype(size % 4));
    sale.count = qint32(size);
    sale.unitPrice = size >= 4 ? i32At(input.constData()) : -1;
    const qint32 amount = qint32(quint32(sale.count) * quint32(sale.unitPrice));
    require(history.append(sale) == amount, "append gives count times unit price");
    QList<PosHistoryEntry> expected = loaded;
    expected.append({sale.count, cutTextKeepingPairs(beforeNul(sale.title), TitleUnits - 1), sale.unitPrice});
    if (expected.size() > PosHistory::Capacity)
        expected.removeFirst();
    require(sameEntries(entries(history), expected), "the sale is the newest, cut as the file keeps it");
    return 0;
}
