// Times generation runs against the router simulator (its own process, on
// loopback), one command at a time against pipelined: wall time, client CPU,
// commands and round trips per voucher and the client's peak memory, for
// hotspot vouchers and User Manager vouchers on RouterOS 6.48 and 7, at 0, 20
// and 100 ms of latency, for batches of 200 and 2000.
//
// Usage: wifiticketer-bench-generation [--counts 200,2000] [--latencies 0,20,100] [--journal-lines N]
// --journal-lines seeds the data folder's journal with N lines it cannot read
// (kept as they are), to show that a journal that has grown does not slow the
// groups of a run.
// Each case runs in a process of its own (the program started again with
// --case), so its peak memory is its own; each first makes 5 vouchers to warm
// up (database driver, first connection), then the measured batch. Pipelined
// cases run three times; the table gives the run of the middle CPU time.

#include "recordbuilders.h"
#include "silentinteraction.h"

#include "generation/userdataprompt.h"
#include "generation/voucherprofile.h"
#include "session/appstate.h"
#include "session/generationrun.h"

#include "routersim/routerbehaviour.h"
#include "routersim/routerstate.h"
#include "routersim/statejson.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <ctime>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

class NoPrompt : public UserDataPrompt
{
public:
    bool askUserData(VoucherRecord &) override { return false; }
};

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Kind
{
    QString name;
    QString version; // empty: hotspot on 6.48
    int major;
    int minor;
};

const QList<Kind> Kinds = {
    {u"hotspot"_s, {}, 6, 48},
    {u"User Manager 6.48"_s, u"6.48.6 (stable)"_s, 6, 48},
    {u"User Manager 7.12"_s, u"7.12 (stable)"_s, 7, 12},
};

struct Result
{
    bool ok = false;
    double made = 0;
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double commands = 0; // sentences the router received for the batch
    double peakKb = 0;
};

qsizetype logLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return file.readAll().count('\n');
}

// One case in this process: prints "made wall cpu commands peak-kB", or an error.
int runCase(const Kind &kind, bool pipelined, int latencyMs, quint32 count, int journalLines)
{
    QTextStream out(stdout);
    QTemporaryDir dir;
    if (journalLines > 0) {
        QDir().mkpath(dir.filePath(u"data"_s));
        QFile journal(dir.filePath(u"data/HistoryPending.jsonl"_s));
        if (!journal.open(QIODevice::WriteOnly))
            return 1;
        for (int i = 0; i < journalLines; ++i)
            journal.write(QByteArray("{\"damaged line\": ") + QByteArray::number(i) + ", not json\n");
    }
    const routersim::RouterState routerState = kind.version.isEmpty()
                                                   ? routersim::defaultRouterState()
                                                   : routersim::routerStateOfVersion(kind.version);
    QJsonObject config = routersim::stateToJson(routerState);
    config.insert(u"latencyMs"_s, latencyMs);
    const QString configFile = dir.filePath(u"sim.json"_s);
    const QString logFile = dir.filePath(u"sim-log.jsonl"_s);
    QFile file(configFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(config).toJson()) < 0)
        return 1;
    file.close();

    QProcess sim;
    sim.start(QStringLiteral(WIFITICKETER_ROUTERSIM_PATH),
              {u"--port"_s, u"0"_s, u"--config"_s, configFile, u"--log"_s, logFile});
    if (!sim.waitForStarted(10000) || !sim.waitForReadyRead(10000))
        return 1;
    const QRegularExpressionMatch match =
        QRegularExpression(u"listening on 127\\.0\\.0\\.1:(\\d+)"_s).match(QString::fromUtf8(sim.readLine()));
    if (!match.hasMatch())
        return 1;

    AppState state({dir.filePath(u"settings.reg"_s), dir.filePath(u"data"_s)});
    state.users = {{u"caixa"_s, QString(), false, false, false}};
    state.currentUser = 0;
    state.routers = {loopbackRouter(u"Sim"_s, match.captured(1).toUShort())};
    state.currentRouterIndex = 0;
    state.routerInfo = {kind.major, kind.minor, u"admin"_s};
    state.settings.PipelinedGeneration = pipelined;
    const std::shared_ptr<VoucherProfile> profile =
        kind.version.isEmpty() ? makeVoucherProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300), {u"%c"_s, {}})
                               : makeVoucherProfile(u"1dia"_s, 500, u"1d"_s, {u"%c"_s, {}});
    SilentInteraction interaction(SilentInteraction::Messages::ToStandardError);
    NoPrompt prompt;

    runGeneration(state, interaction, prompt, {profile, 5, std::nullopt});
    const qsizetype before = logLines(logFile);
    QElapsedTimer wall;
    wall.start();
    const double cpuStart = threadCpuSeconds();
    const bool ok = runGeneration(state, interaction, prompt, {profile, count, std::nullopt});
    const double cpu = threadCpuSeconds() - cpuStart;
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    sim.waitForReadyRead(200); // the log of "/quit"
    // The batch's sentences, without its login (2) and "/quit".
    const qsizetype commands = logLines(logFile) - before - 3;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    sim.kill();
    sim.waitForFinished(5000);
    if (!ok)
        return 1;
    out << state.batch.size() << ' ' << seconds << ' ' << cpu << ' ' << commands << ' ' << usage.ru_maxrss
        << '\n';
    return 0;
}

int JournalLines = 0; // --journal-lines, for the cases

Result runChild(qsizetype kind, bool pipelined, int latencyMs, quint32 count)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {u"--case"_s, QString::number(kind), pipelined ? u"1"_s : u"0"_s, QString::number(latencyMs),
                 QString::number(count), QString::number(JournalLines)});
    Result result;
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return result;
    const QStringList fields = QString::fromUtf8(child.readAllStandardOutput()).split(u' ');
    if (fields.size() != 5)
        return result;
    result = {true,
              fields[0].toDouble(),
              fields[1].toDouble(),
              fields[2].toDouble(),
              fields[3].toDouble(),
              fields[4].toDouble()};
    return result;
}

// The pipelined runs are short, so one disturbed run would weigh heavily:
// each is run three times and the middle CPU time is kept, with its run's other
// figures.
Result medianOfThree(qsizetype kind, int latencyMs, quint32 count)
{
    QList<Result> runs;
    for (int i = 0; i < 3; ++i)
        runs << runChild(kind, true, latencyMs, count);
    if (std::any_of(runs.cbegin(), runs.cend(), [](const Result &r) { return !r.ok || r.made == 0; }))
        return {};
    std::sort(runs.begin(), runs.end(),
              [](const Result &a, const Result &b) { return a.cpuSeconds / a.made < b.cpuSeconds / b.made; });
    return runs[1];
}

QList<int> numbers(const QString &text)
{
    QList<int> list;
    for (const QString &part : text.split(u','))
        list << part.toInt();
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 7 && args[1] == u"--case")
        return runCase(Kinds.value(args[2].toInt()), args[3] == u"1", args[4].toInt(), args[5].toUInt(),
                       args[6].toInt());

    QList<int> counts = {200, 2000};
    QList<int> latencies = {0, 20, 100};
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--counts")
            counts = numbers(args[i + 1]);
        else if (args[i] == u"--latencies")
            latencies = numbers(args[i + 1]);
        else if (args[i] == u"--journal-lines")
            JournalLines = args[i + 1].toInt();
    }

    QTextStream out(stdout);
    out << "| vouchers | latency | kind | one by one: wall | pipelined: wall | speed-up | CPU ms/voucher "
           "(1-by-1 / pipelined) | commands/voucher | pipelined round trips/voucher | peak RSS MB (1-by-1 / "
           "pipelined) |\n"
        << "|---|---|---|---|---|---|---|---|---|---|\n";
    out.flush();
    for (int count : counts) {
        for (int latency : latencies) {
            for (qsizetype k = 0; k < Kinds.size(); ++k) {
                const Kind &kind = Kinds[k];
                const Result plain = runChild(k, false, latency, quint32(count));
                const Result piped = medianOfThree(k, latency, quint32(count));
                if (!plain.ok || !piped.ok || plain.made == 0 || piped.made == 0) {
                    out << "| " << count << " | " << latency << " ms | " << kind.name << " | FAILED |\n";
                    out.flush();
                    continue;
                }
                // How many latencies the pipelined batch waited, per voucher.
                const QString trips =
                    latency > 0 ? QString::asprintf("%.3f", piped.wallSeconds * 1000 / latency / piped.made)
                                : u"-"_s;
                out << QString::asprintf(
                    "| %d | %d ms | %s | %.2f s | %.3f s | %.1f× | %.4f / %.4f | %.2f / %.2f | %s | %.1f / "
                    "%.1f |\n",
                    count, latency, qPrintable(kind.name), plain.wallSeconds, piped.wallSeconds,
                    plain.wallSeconds / piped.wallSeconds, 1000 * plain.cpuSeconds / plain.made,
                    1000 * piped.cpuSeconds / piped.made, plain.commands / plain.made,
                    piped.commands / piped.made, qPrintable(trips), plain.peakKb / 1024, piped.peakKb / 1024);
                out.flush();
            }
        }
    }
    return 0;
}
