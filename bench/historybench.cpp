// Times the history database on SQLite: storing the vouchers of one run, and a
// one-day search in a large history.
//
// Usage: wifiticketer-bench-history [rows in the large history, default 1000000]

#include "recordbuilders.h"
#include "runrecorder.h"
#include "silentinteraction.h"

#include "history/historydatabase.h"
#include "history/historysearch.h"
#include "history/historystore.h"
#include "history/openhistory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void fillBatch(BatchList &batch, const std::shared_ptr<VoucherProfile> &profile, int count, qint64 created)
{
    clearBatch(batch);
    for (int i = 0; i < count; ++i) {
        VoucherRecord &record = newVoucherRecord(batch, profile);
        record.UserName = u"usr%1"_s.arg(i, 6, 10, QLatin1Char('0'));
        record.Password = u"ab12cd"_s;
        record.Generator = u"caixa"_s;
        record.Created = created;
        record.Expires = created + 3600;
        record.Serial = quint32(i + 1);
        record.HotSpotUser = true;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int largeRows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;
    QTextStream out(stdout);
    SilentInteraction interaction(SilentInteraction::Messages::ToStandardError);
    const auto profile = makeVoucherProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300), {u"%c"_s, {}});
    const qint64 start = QDateTime(QDate(2024, 1, 1), QTime(8, 0)).toSecsSinceEpoch();

    // One run of 200 vouchers, as a generation run records it: the history
    // opened, each voucher journalled, then stored as its router confirms it.
    {
        QTemporaryDir dir;
        const HistoryPlace place{QString(), dir.filePath(u"data"_s)};
        BatchList batch;
        bool warningShown = false;
        QList<double> times;
        for (int run = 0; run < 11; ++run) {
            fillBatch(batch, profile, 200, start + run * 60);
            QElapsedTimer timer;
            timer.start();
            recordAsRun(batch, u"Loja"_s, place, dir.filePath(u"settings.reg"_s), warningShown, interaction);
            times << double(timer.nsecsElapsed()) / 1e6;
        }
        out << QString::asprintf("store one run of 200 vouchers: first (creates the database) %.1f ms, "
                                 "median of the next 10 %.1f ms\n",
                                 times.first(), median(times.mid(1)));
        out.flush();
    }

    // A large history spread over days, then one day's search.
    QTemporaryDir dir;
    const HistoryPlace place{QString(), dir.filePath(u"data"_s)};
    BatchList batch;
    const int days = 1000;
    const int perDay = std::max(1, largeRows / days);
    QElapsedTimer fill;
    fill.start();
    HistoryDatabase history;
    if (!openHistory(history, place)) {
        out << "the history cannot be opened\n";
        return 1;
    }
    QList<HistoryRow> chunk;
    int stored = 0;
    for (int day = 0; day < days; ++day) {
        fillBatch(batch, profile, perDay, start + qint64(day) * 86400);
        for (int i = 0; i < perDay; ++i) {
            VoucherRecord &record = batch[i];
            record.Created += i * (36000 / perDay); // spread over the opening hours
            chunk.append(historyRowOf(record, u"Loja"_s));
        }
        if (chunk.size() >= 20000 || day == days - 1) {
            stored += int(storeHistoryRows(history.connection(), chunk));
            chunk.clear();
        }
    }
    history.close();
    out << QString::asprintf("filled %d rows over %d days in %.1f s\n", stored, days,
                             fill.elapsed() / 1000.0);

    const QDate day = QDateTime::fromSecsSinceEpoch(start).date().addDays(days / 2);
    QList<double> searches;
    QList<double> queries;
    qsizetype found = 0;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer timer;
        timer.start();
        std::optional<HistorySearchResult> result;
        if (openHistory(history, place))
            result = searchHistory(history, {day, day, {}, {}});
        history.close();
        searches << double(timer.nsecsElapsed()) / 1e6;
        found = result ? result->rows.size() : -1;

        openHistory(history, place);
        timer.restart();
        findHistoryRows(history.connection(), {day, day, {}, {}});
        queries << double(timer.nsecsElapsed()) / 1e6;
        history.close();
    }
    out << QString::asprintf("one-day search over %d rows (%lld found): median %.2f ms with open and close, "
                             "%.2f ms the query alone\n",
                             stored, qint64(found), median(searches), median(queries));
    return 0;
}
