#include "clirun.h"
#include "clisimulator.h"
#include "journalfiles.h"
#include "salesbytes.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/regvalue.h"
#include "base/runlock.h"
#include "base/settingskey.h"
#include "config/appsettings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <csignal>
#include <numeric>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

QProcessEnvironment cliEnvironment(const TestFolder &folder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"WIFITICKETER_SETTINGS"_s, folder.settingsFile());
    env.insert(u"WIFITICKETER_DATA_DIR"_s, folder.dataFolder());
    env.insert(u"WIFITICKETER_API_TIMEOUT_MS"_s, u"5000"_s);
    return env;
}

void startCli(QProcess &cli, const TestFolder &folder, const QStringList &arguments)
{
    cli.setProcessEnvironment(cliEnvironment(folder));
    cli.start(QStringLiteral(WIFITICKETER_CLI_PATH), arguments);
}

QStringList hotspotNames(const SimProcess &sim)
{
    QStringList names;
    for (const auto &user : sim.state().hotspotUsers)
        names << user.name;
    return names;
}

// The history's rows as the history command lists them (which also stores
// the rows that waited in the pending file): user name and serial.
QList<std::pair<QString, QString>> historyRows(const TestFolder &folder)
{
    const CliRun run = runCli(folder, Operator + QStringList{u"history"_s, u"--format"_s, u"json"_s});
    QList<std::pair<QString, QString>> rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(run.out.toUtf8()).object()[u"rows"_s].toArray())
        rows.append({row[u"user"_s].toString(), row[u"serial"_s].toString()});
    return rows;
}

// What HistoryPending.jsonl holds, read without the program's reader: the
// unconfirmed vouchers, or the rows waiting for the database.
QStringList pendingNames(const TestFolder &folder, bool unconfirmed)
{
    return unconfirmed ? unconfirmedNames(folder.dataFolder()) : waitingNames(folder.dataFolder());
}

// The vouchers sold, from PosHistory.bin's records.
QList<int> saleCounts(const TestFolder &folder)
{
    return saleCountsOf(folder.readDataFile(u"PosHistory.bin"_s));
}

int sum(const QList<int> &values)
{
    return std::accumulate(values.begin(), values.end(), 0);
}

} // namespace

class JournalCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedRunLosesNothing_data();
    void killedRunLosesNothing();
    void concurrentRunsNeverInterleave();
    void busyDataFolder();
    void ownerlessLockIsTakenOver();
    void diskFillsUp();
};

void JournalCommandTest::killedRunLosesNothing_data()
{
    QTest::addColumn<int>("killAfterMs");
    QTest::addColumn<bool>("pipelined");
    QTest::addColumn<int>("count");
    // Over a 20 ms link: during the login, early in the run, well into it; a
    // pipelined run of 2000 has up to a window of vouchers in flight.
    QTest::addRow("pipelined, 0.3 s") << 300 << true << 2000;
    QTest::addRow("pipelined, 0.9 s") << 900 << true << 2000;
    QTest::addRow("pipelined, 1.8 s") << 1800 << true << 2000;
    QTest::addRow("one by one, 0.9 s") << 900 << false << 200;
    QTest::addRow("one by one, 1.8 s") << 1800 << false << 200;
}

// kill -9 at some moment of a run over a slow link: every user the router
// holds is in the history or the pending file; the next run's start settles
// what was unconfirmed, gives no serial twice, and the sales count every
// voucher made.
void JournalCommandTest::killedRunLosesNothing()
{
    QFETCH(int, killAfterMs);
    QFETCH(bool, pipelined);
    QFETCH(int, count);
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState(), false, 20));
    QVERIFY(install(folder, sim.port()));
    if (!pipelined)
        saveValue(SettingsKey(folder.settingsFile()), u"PipelinedGeneration"_s, dwordValue(0));
    const QStringList existing = hotspotNames(sim);
    const QSet<QString> before(existing.begin(), existing.end());

    QProcess cli;
    startCli(cli, folder,
             Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s, u"3 horas"_s, u"--count"_s,
                                    QString::number(count)});
    QVERIFY(cli.waitForStarted(10000));
    QTest::qWait(killAfterMs);
    // Killed in the middle of its work, not after it.
    QCOMPARE(cli.state(), QProcess::Running);
    cli.kill();
    QVERIFY(cli.waitForFinished(10000));

    QStringList made;
    for (const QString &name : hotspotNames(sim)) {
        if (!before.contains(name))
            made << name;
    }
    const QStringList unconfirmed = pendingNames(folder, true);
    QStringList recorded = unconfirmed;
    for (const auto &[user, serial] : historyRows(folder))
        recorded << user;
    for (const QString &name : made)
        QVERIFY2(recorded.contains(name), qPrintable(name + u" is on the router, recorded nowhere"_s));

    // The next run settles the unconfirmed ones at its login, then makes two.
    const CliRun next = runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                              u"3 horas"_s, u"--count"_s, u"2"_s});
    QCOMPARE(next.exitCode, 0);
    QVERIFY(pendingNames(folder, true).isEmpty());
    const QList<std::pair<QString, QString>> rows = historyRows(folder);
    QStringList users;
    QSet<QString> serials;
    for (const auto &[user, serial] : rows) {
        users << user;
        serials.insert(serial);
    }
    QCOMPARE(serials.size(), rows.size());
    QStringList onRouter;
    for (const QString &name : hotspotNames(sim)) {
        if (!before.contains(name))
            onRouter << name;
    }
    QCOMPARE(users.size(), onRouter.size());
    for (const QString &name : onRouter)
        QVERIFY2(users.contains(name), qPrintable(name + u" is on the router, not in the history"_s));
    QCOMPARE(sum(saleCounts(folder)), onRouter.size());
}

// Two runs started together on one data folder: the second waits for the
// first; serials never repeat and each run is one sale.
void JournalCommandTest::concurrentRunsNeverInterleave()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState(), false, 5));
    QVERIFY(install(folder, sim.port()));
    const QStringList arguments =
        Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s, u"3 horas"_s, u"--count"_s, u"15"_s};
    QProcess first;
    QProcess second;
    startCli(first, folder, arguments);
    startCli(second, folder, arguments);
    QVERIFY(first.waitForFinished(60000));
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);

    QSet<QString> serials;
    for (QProcess *run : {&first, &second}) {
        for (const QString &line :
             QString::fromUtf8(run->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts))
            serials.insert(line.section(u'\t', 2, 2));
    }
    QCOMPARE(serials.size(), 30);
    QVERIFY(serials.contains(u"000000001"_s) && serials.contains(u"000000030"_s));
    QCOMPARE(saleCounts(folder), (QList<int>{15, 15}));
    QCOMPARE(historyRows(folder).size(), 30);
}

// A run of another process holds the data folder: the command waits a few
// seconds, then says so and makes nothing.
void JournalCommandTest::busyDataFolder()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const qsizetype usersBefore = hotspotNames(sim).size();
    RunLock held(folder.dataFolder());
    QCOMPARE(held.acquire(0), RunLock::Outcome::Held);

    const CliRun run = runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                             u"3 horas"_s, u"--count"_s, u"2"_s});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(u"Outra geração de vouchers está em andamento com esta pasta de dados.\n"
                              "Aguarde o fim dela e tente novamente.\n"_s),
             qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QCOMPARE(hotspotNames(sim).size(), usersBefore);
}

// A process killed while it made the lock file leaves it empty: no owner can
// be told, and none is left. The next run takes it over instead of waiting
// for ever.
void JournalCommandTest::ownerlessLockIsTakenOver()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const QString lock = folder.dataFolder() + u"/wifiTicketer.lock"_s;
    folder.writeDataFile(u"wifiTicketer.lock"_s, QByteArray());
    QFile file(lock);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    file.close();

    const CliRun run = runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                             u"3 horas"_s, u"--count"_s, u"2"_s});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.count(u'\n'), 2);
    QCOMPARE(sum(saleCounts(folder)), 2);
}

// The disk fills up during a run (a file size limit on the command): the
// run stops with an error and exit 1, and every voucher it made is listed and
// recorded.
void JournalCommandTest::diskFillsUp()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const QStringList existing = hotspotNames(sim);
    const QSet<QString> before(existing.begin(), existing.end());

    QProcess cli;
    cli.setChildProcessModifier([] {
        // Room for the settings, the lock and a small history, not for 400 vouchers.
        const rlimit limit{24 * 1024, 24 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
    });
    startCli(cli, folder,
             Operator +
                 QStringList{u"--no"_s, u"generate"_s, u"--profile"_s, u"3 horas"_s, u"--count"_s, u"400"_s});
    QVERIFY(cli.waitForFinished(120000));
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    QCOMPARE(cli.exitCode(), 1);
    QVERIFY2(err.contains(u"Erro: não foi possível registrar o voucher"_s), qPrintable(err));

    QStringList listed;
    for (const QString &line :
         QString::fromUtf8(cli.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts))
        listed << line.section(u'\t', 0, 0);
    QStringList made;
    for (const QString &name : hotspotNames(sim)) {
        if (!before.contains(name))
            made << name;
    }
    QVERIFY2(!made.isEmpty() && made.size() < 400, qPrintable(QString::number(made.size())));
    QCOMPARE(listed, made);
    QStringList recorded = pendingNames(folder, false) + pendingNames(folder, true);
    for (const auto &[user, serial] : historyRows(folder))
        recorded << user;
    for (const QString &name : made)
        QVERIFY2(recorded.contains(name), qPrintable(name + u" is on the router, recorded nowhere"_s));

    // With room again, the next start settles what waited: every voucher made
    // is in the history once and sold once.
    QCOMPARE(runCli(folder, Operator + QStringList{u"--no"_s, u"profiles"_s}).exitCode, 0);
    QVERIFY(pendingNames(folder, true).isEmpty());
    const QList<std::pair<QString, QString>> rows = historyRows(folder);
    QCOMPARE(rows.size(), made.size());
    QCOMPARE(sum(saleCounts(folder)), made.size());
}

WIFITICKETER_TEST(JournalCommandTest)
#include "journalcommandtest.moc"
