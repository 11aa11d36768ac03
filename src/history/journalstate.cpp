#include "journalstate.h"

#include "pendinghistory.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString JournalKey = u"Journal"_s;

QByteArray lineOf(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QJsonObject saleObject(const JournalSale &sale)
{
    return {{u"Id"_s, sale.id},
            {u"Title"_s, sale.title},
            {u"Price"_s, sale.unitPrice},
            {u"Count"_s, sale.count},
            {u"Serials"_s, serialRangesText(sale.serials)}};
}

QJsonObject shareObject(const SaleShare &share)
{
    return {{u"Id"_s, share.id},
            {u"Title"_s, share.title},
            {u"Price"_s, share.unitPrice},
            {u"Serials"_s, serialRanges(share.serials)}};
}

std::optional<qint32> int32Of(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number < -2147483648.0 || number > 2147483647.0 || number != double(qint32(number)))
        return std::nullopt;
    return qint32(number);
}

std::optional<JournalSale> saleFromObject(const QJsonObject &object)
{
    const QJsonValue id = object.value(u"Id"_s);
    const QJsonValue title = object.value(u"Title"_s);
    const std::optional<qint32> price = int32Of(object.value(u"Price"_s));
    const std::optional<SerialRanges> serials = parseSerialRangesText(object.value(u"Serials"_s).toString());
    const std::optional<qint32> count = int32Of(object.value(u"Count"_s));
    if (!id.isString() || !title.isString() || !price || !serials || !count)
        return std::nullopt;
    return JournalSale{id.toString(), title.toString(), *price, *count, *serials};
}

std::optional<SaleShare> shareFromObject(const QJsonObject &object)
{
    const QJsonValue id = object.value(u"Id"_s);
    const QJsonValue title = object.value(u"Title"_s);
    const std::optional<qint32> price = int32Of(object.value(u"Price"_s));
    const std::optional<SerialList> serials = parseSerialRanges(object.value(u"Serials"_s).toString());
    if (!id.isString() || !title.isString() || !price || !serials)
        return std::nullopt;
    return SaleShare{id.toString(), title.toString(), *price, *serials};
}

std::optional<SerialList> serialsOf(const QJsonObject &object)
{
    return parseSerialRanges(object.value(u"Serials"_s).toString());
}

qsizetype unconfirmedIndex(const JournalState &state, quint32 serial)
{
    for (qsizetype i = 0; i < state.unconfirmed.size(); ++i) {
        if (entrySerial(state.unconfirmed[i]) == serial)
            return i;
    }
    return -1;
}

void keepLatestSales(QList<JournalSale> &sales)
{
    if (sales.size() > JournalSalesKept)
        sales.remove(0, sales.size() - JournalSalesKept);
}

// The serials of `wanted` that are in `settled` and not yet used by an
// earlier sale of the same change.
SerialList takeSettled(const SerialList &wanted, QSet<quint32> &settled)
{
    SerialList taken;
    for (const quint32 serial : wanted) {
        if (settled.remove(serial))
            taken.append(serial);
    }
    return taken;
}

bool replayConfirmed(JournalState &state, const QJsonObject &object)
{
    const std::optional<SerialList> serials = serialsOf(object);
    QList<HistoryRow> waiting;
    for (const QJsonValue &value : object.value(u"Waiting"_s).toArray()) {
        std::optional<HistoryRow> row = historyRowFromObject(value.toObject());
        if (!row)
            return false;
        waiting.append(*row);
    }
    QList<SaleShare> shares;
    for (const QJsonValue &value : object.value(u"Sales"_s).toArray()) {
        std::optional<SaleShare> share = shareFromObject(value.toObject());
        if (!share)
            return false;
        shares.append(*share);
    }
    if (!serials)
        return false;

    // Only vouchers still unconfirmed are settled by this change.
    const QSet<quint32> confirmed(serials->cbegin(), serials->cend());
    QSet<quint32> settled;
    state.unconfirmed.removeIf([&](const JournalEntry &entry) {
        const quint32 serial = entrySerial(entry);
        if (!confirmed.contains(serial))
            return false;
        settled.insert(serial);
        return true;
    });
    for (const HistoryRow &row : waiting) {
        if (row.Serial && settled.contains(*row.Serial))
            state.waiting.append(row);
    }
    for (const SaleShare &share : shares) {
        const SerialList sold = takeSettled(share.serials, settled);
        if (sold.isEmpty())
            continue;
        const auto same = std::find_if(state.sales.begin(), state.sales.end(), [&](const JournalSale &held) {
            return !share.id.isEmpty() && held.id == share.id;
        });
        if (same != state.sales.end()) {
            same->count += qint32(sold.size());
            addSerials(same->serials, sold);
        } else {
            JournalSale sale{share.id, share.title, share.unitPrice, qint32(sold.size()), {}};
            addSerials(sale.serials, sold);
            state.sales.append(sale);
            keepLatestSales(state.sales);
        }
    }
    return true;
}

bool replayObject(JournalState &state, const QJsonObject &object)
{
    const QJsonValue journal = object.value(JournalKey);
    if (journal.isUndefined()) {
        std::optional<HistoryRow> row = historyRowFromObject(object);
        if (!row)
            return false;
        state.waiting.append(*row);
        return true;
    }
    const QString kind = journal.toString();
    if (kind == u"unconfirmed") {
        std::optional<HistoryRow> row = historyRowFromObject(object);
        if (!row || !row->Serial)
            return false;
        JournalEntry entry{*row, object.value(u"RouterAt"_s).toString(),
                           object.value(u"ProfileName"_s).toString(), object.value(u"SaleTitle"_s).toString(),
                           !object.contains(u"RouterAt"_s)};
        const qsizetype at = unconfirmedIndex(state, *row->Serial);
        if (at >= 0)
            state.unconfirmed[at] = entry;
        else
            state.unconfirmed.append(entry);
        return true;
    }
    if (kind == u"withdrawn") {
        const std::optional<SerialList> serials = serialsOf(object);
        if (!serials)
            return false;
        for (const quint32 serial : *serials) {
            if (const qsizetype at = unconfirmedIndex(state, serial); at >= 0)
                state.unconfirmed.removeAt(at);
        }
        return true;
    }
    if (kind == u"confirmed")
        return replayConfirmed(state, object);
    if (kind == u"cleared") {
        state.sales.clear();
        state.keepsSales = true;
        return true;
    }
    if (kind == u"sales") {
        QList<JournalSale> sales;
        for (const QJsonValue &value : object.value(u"Sales"_s).toArray()) {
            std::optional<JournalSale> sale = saleFromObject(value.toObject());
            if (!sale)
                return false;
            sales.append(*sale);
        }
        keepLatestSales(sales);
        state.sales = sales;
        // Sales confirmed before the journal took PosHistory.bin's are
        // written as not kept yet, so that taking them still happens.
        state.keepsSales = object.value(u"Kept"_s).toBool(true);
        return true;
    }
    if (kind == u"posted") {
        const QJsonValue hash = object.value(u"Hash"_s);
        if (!hash.isString())
            return false;
        state.postedHash = QByteArray::fromHex(hash.toString().toLatin1());
        return true;
    }
    return false;
}

} // namespace

QByteArray waitingLine(const HistoryRow &row)
{
    return lineOf(historyRowObject(row));
}

QByteArray unconfirmedLine(const JournalEntry &entry)
{
    QJsonObject object = historyRowObject(entry.row);
    object.insert(JournalKey, u"unconfirmed"_s);
    if (!entry.legacy)
        object.insert(u"RouterAt"_s, entry.routerAt);
    if (!entry.profileName.isEmpty())
        object.insert(u"ProfileName"_s, entry.profileName);
    if (!entry.saleTitle.isEmpty())
        object.insert(u"SaleTitle"_s, entry.saleTitle);
    return lineOf(object);
}

QByteArray withdrawnLine(const SerialList &serials)
{
    return lineOf({{JournalKey, u"withdrawn"_s}, {u"Serials"_s, serialRanges(serials)}});
}

QByteArray confirmedLine(const JournalConfirmation &confirmation)
{
    QJsonArray waiting;
    for (const HistoryRow &row : confirmation.waiting)
        waiting.append(historyRowObject(row));
    QJsonArray sales;
    for (const SaleShare &share : confirmation.sales)
        sales.append(shareObject(share));
    QJsonObject object{{JournalKey, u"confirmed"_s}, {u"Serials"_s, serialRanges(confirmation.serials)}};
    if (!waiting.isEmpty())
        object.insert(u"Waiting"_s, waiting);
    if (!sales.isEmpty())
        object.insert(u"Sales"_s, sales);
    return lineOf(object);
}

QByteArray clearedLine()
{
    return lineOf({{JournalKey, u"cleared"_s}});
}

QByteArray salesLine(const QList<JournalSale> &sales, bool kept)
{
    QJsonArray array;
    for (const JournalSale &sale : sales)
        array.append(saleObject(sale));
    QJsonObject object{{JournalKey, u"sales"_s}, {u"Sales"_s, array}};
    if (!kept)
        object.insert(u"Kept"_s, false);
    return lineOf(object);
}

QByteArray postedLine(const QByteArray &hash)
{
    return lineOf({{JournalKey, u"posted"_s}, {u"Hash"_s, QString::fromLatin1(hash.toHex())}});
}

bool replayJournalLine(JournalState &state, const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    if (trimmed.isEmpty())
        return true;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(trimmed, &error);
    // A change is read whole before anything of it is applied.
    if (error.error == QJsonParseError::NoError && document.isObject() &&
        replayObject(state, document.object()))
        return true;
    state.unreadable.append(trimmed);
    return false;
}

JournalState replayJournal(const QByteArray &bytes, qsizetype *committed)
{
    JournalState state;
    qsizetype at = 0;
    qsizetype end = 0;
    while (at < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', at);
        if (newline < 0) {
            // Cut off while it was written: it never happened, unless all of
            // it but the line break made it to the disk.
            const QByteArray tail = bytes.sliced(at);
            JournalState attempt = state;
            if (replayJournalLine(attempt, tail) && !tail.trimmed().isEmpty()) {
                state = std::move(attempt);
                end = bytes.size();
            }
            break;
        }
        replayJournalLine(state, bytes.sliced(at, newline - at));
        at = newline + 1;
        end = at;
    }
    if (committed)
        *committed = end;
    return state;
}

QByteArray compactJournal(const JournalState &state)
{
    QByteArray bytes;
    for (const HistoryRow &row : state.waiting)
        bytes += waitingLine(row) + '\n';
    for (const JournalEntry &entry : state.unconfirmed)
        bytes += unconfirmedLine(entry) + '\n';
    if (state.keepsSales || !state.sales.isEmpty())
        bytes += salesLine(state.sales, state.keepsSales) + '\n';
    if (!state.postedHash.isEmpty())
        bytes += postedLine(state.postedHash) + '\n';
    for (const QByteArray &line : state.unreadable)
        bytes += line + '\n';
    return bytes;
}

QString serialRanges(const SerialList &unordered)
{
    SerialList serials = unordered;
    std::sort(serials.begin(), serials.end());
    serials.erase(std::unique(serials.begin(), serials.end()), serials.end());
    QStringList ranges;
    for (qsizetype i = 0; i < serials.size();) {
        qsizetype last = i;
        while (last + 1 < serials.size() && serials[last + 1] == serials[last] + 1)
            ++last;
        ranges << (last == i ? QString::number(serials[i]) : u"%1-%2"_s.arg(serials[i]).arg(serials[last]));
        i = last + 1;
    }
    return ranges.join(u',');
}

std::optional<SerialRanges> parseSerialRangesText(const QString &text)
{
    SerialRanges ranges;
    if (text.isEmpty())
        return ranges;
    for (const QString &part : text.split(u',')) {
        const qsizetype dash = part.indexOf(u'-');
        bool firstOk = false;
        bool lastOk = false;
        const quint32 first = (dash < 0 ? part : part.first(dash)).toUInt(&firstOk);
        const quint32 last = dash < 0 ? first : part.sliced(dash + 1).toUInt(&lastOk);
        if (!firstOk || (dash >= 0 && !lastOk) || last < first ||
            (!ranges.isEmpty() && first <= ranges.constLast().last))
            return std::nullopt;
        if (!ranges.isEmpty() && first == ranges.constLast().last + 1)
            ranges.last().last = last;
        else
            ranges.append({first, last});
    }
    return ranges;
}

std::optional<SerialList> parseSerialRanges(const QString &text)
{
    // One change confirms a run's group or a settling's vouchers: never
    // millions of them.
    constexpr quint64 MostSerials = 1'000'000;
    const std::optional<SerialRanges> ranges = parseSerialRangesText(text);
    if (!ranges)
        return std::nullopt;
    quint64 total = 0;
    for (const SerialRange &range : *ranges)
        total += quint64(range.last) - range.first + 1;
    if (total > MostSerials)
        return std::nullopt;
    SerialList serials;
    serials.reserve(qsizetype(total));
    for (const SerialRange &range : *ranges) {
        for (quint64 serial = range.first; serial <= range.last; ++serial)
            serials.append(quint32(serial));
    }
    return serials;
}

QString serialRangesText(const SerialRanges &ranges)
{
    QStringList parts;
    for (const SerialRange &range : ranges)
        parts << (range.first == range.last ? QString::number(range.first)
                                            : u"%1-%2"_s.arg(range.first).arg(range.last));
    return parts.join(u',');
}

void addSerials(SerialRanges &ranges, const SerialList &serials)
{
    for (const quint32 serial : serials) {
        // The first range that ends at or after the serial.
        auto at =
            std::lower_bound(ranges.begin(), ranges.end(), serial,
                             [](const SerialRange &range, quint32 value) { return range.last < value; });
        if (at != ranges.end() && at->first <= serial)
            continue; // held already
        const bool joinsBefore = at != ranges.begin() && quint64(std::prev(at)->last) + 1 == serial;
        const bool joinsAfter = at != ranges.end() && quint64(serial) + 1 == at->first;
        if (joinsBefore && joinsAfter) {
            std::prev(at)->last = at->last;
            ranges.erase(at);
        } else if (joinsBefore) {
            std::prev(at)->last = serial;
        } else if (joinsAfter) {
            at->first = serial;
        } else {
            ranges.insert(at, {serial, serial});
        }
    }
}

quint32 entrySerial(const JournalEntry &entry)
{
    return entry.row.Serial.value_or(0);
}
