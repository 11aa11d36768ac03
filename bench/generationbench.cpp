// Times generation runs against the router simulator on loopback: wall time,
// client CPU and router round trips per voucher, for hotspot vouchers and User
// Manager vouchers on RouterOS 6.48 and 7, with and without added latency.
//
// Usage: wifiticketer-bench-generation [vouchers per run, default 200]

#include "recordbuilders.h"
#include "silentinteraction.h"

#include "generation/userdataprompt.h"
#include "generation/voucherprofile.h"
#include "session/appstate.h"
#include "session/generationrun.h"

#include "routersim/routerbehaviour.h"
#include "routersim/routerstate.h"
#include "routersim/simserverthread.h"
#include "routersim/simulatedrouter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <ctime>

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

struct Case
{
    QString name;
    bool hotSpot;
    int major;
    int minor;
    QString version;
    int latencyMs;
};

void runCase(const Case &c, quint32 count, QTextStream &out)
{
    routersim::RouterState routerState = routersim::defaultRouterState();
    routerState.version = c.version;
    routersim::RouterBehaviour behaviour;
    behaviour.latencyMs = c.latencyMs;
    routersim::SimulatedRouter router(routerState, behaviour);
    routersim::SimServerThread server(router);
    if (!server.start(0)) {
        out << c.name << ": the simulator could not listen\n";
        return;
    }

    QTemporaryDir dir;
    AppState state({dir.filePath(u"settings.reg"_s), dir.filePath(u"data"_s)});
    state.users = {{u"caixa"_s, QString(), false, false, false}};
    state.currentUser = 0;
    state.routers = {loopbackRouter(u"Sim"_s, server.port())};
    state.currentRouterIndex = 0;
    state.routerInfo = {c.major, c.minor, u"admin"_s};
    state.posHistory.setFile(dir.filePath(u"data/PosHistory.bin"_s));

    const std::shared_ptr<VoucherProfile> profile =
        c.hotSpot ? makeVoucherProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300), {u"%c"_s, {}})
                  : makeVoucherProfile(u"1dia"_s, 500, u"1d"_s, {u"%c"_s, {}});

    SilentInteraction interaction(SilentInteraction::Messages::ToStandardError);
    NoPrompt prompt;
    router.clearLog();
    QElapsedTimer wall;
    wall.start();
    const double cpuStart = threadCpuSeconds();
    const bool ok = runGeneration(state, interaction, prompt, {profile, quint32(count), std::nullopt});
    const double cpu = threadCpuSeconds() - cpuStart;
    const double seconds = double(wall.nsecsElapsed()) / 1e9;

    // Round trips of the vouchers: every sentence but the login and "/quit".
    int sentences = 0;
    for (const routersim::LoggedSentence &logged : router.log()) {
        const QByteArray first = logged.words.value(0);
        if (first != "/login" && first != "/quit")
            ++sentences;
    }
    const double made = double(state.batch.size());
    out << QString::asprintf(
        "%-34s %s %4.0f vouchers  %8.3f ms wall  %7.4f ms CPU  %5.2f round trips  per voucher\n",
        qPrintable(c.name), ok ? "ok  " : "FAIL", made, 1000 * seconds / made, 1000 * cpu / made,
        sentences / made);
    out.flush();
    server.stop();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const quint32 count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toUInt() : 200;
    QTextStream out(stdout);
    for (int latency : {0, 20}) {
        const QString suffix = u", %1 ms latency"_s.arg(latency);
        for (const Case &c :
             {Case{u"hotspot, RouterOS 6.48"_s + suffix, true, 6, 48, u"6.48.6 (stable)"_s, latency},
              Case{u"User Manager, RouterOS 6.48"_s + suffix, false, 6, 48, u"6.48.6 (stable)"_s, latency},
              Case{u"User Manager, RouterOS 7"_s + suffix, false, 7, 12, u"7.12 (stable)"_s, latency}})
            runCase(c, count, out);
    }
    return 0;
}
