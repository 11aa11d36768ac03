#include "clirun.h"
#include "clisimulator.h"
#include "filebytes.h"
#include "salesbytes.h"
#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "config/routersfile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>
#include <numeric>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QStringList generate(int count)
{
    return Operator + QStringList{u"--no"_s,    u"generate"_s, u"--profile"_s,
                                  u"3 horas"_s, u"--count"_s,  QString::number(count)};
}

int sum(const QList<int> &values)
{
    return std::accumulate(values.begin(), values.end(), 0);
}

// The files kept aside: PosHistory-yyyyMMdd-HHmmss.bin.
QStringList keptFiles(const TestFolder &folder)
{
    return QDir(folder.dataFolder()).entryList({u"PosHistory-*.bin"_s}, QDir::Files);
}

QStringList userNames(const SimProcess &sim)
{
    QStringList names;
    for (const auto &user : sim.state().hotspotUsers)
        names << user.name;
    return names;
}

QStringList historyUsers(const TestFolder &folder)
{
    const CliRun run = runCli(folder, Operator + QStringList{u"history"_s, u"--format"_s, u"json"_s});
    QStringList users;
    for (const QJsonValue &row : QJsonDocument::fromJson(run.out.toUtf8()).object()[u"rows"_s].toArray())
        users << row[u"user"_s].toString();
    return users;
}

// Runs generate killed where the history holds a group of vouchers that the
// journal has not confirmed yet.
void generateKilledBeforeConfirming(const TestFolder &folder)
{
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"WIFITICKETER_SETTINGS"_s, folder.settingsFile());
    env.insert(u"WIFITICKETER_DATA_DIR"_s, folder.dataFolder());
    env.insert(u"WIFITICKETER_CRASH_AT"_s, u"run-stored:2"_s);
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(WIFITICKETER_CLI_PATH), generate(300));
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitStatus(), QProcess::CrashExit);
}

QJsonArray pendingList(const TestFolder &folder)
{
    const CliRun run =
        runCli(folder, Operator + QStringList{u"history"_s, u"--pending"_s, u"--format"_s, u"json"_s});
    return QJsonDocument::fromJson(run.out.toUtf8()).object()[u"pending"_s].toArray();
}

void saveRouterList(const TestFolder &folder, const QList<RouterConfig> &routers)
{
    ScriptedInteraction interaction;
    QVERIFY(saveRouters(folder.dataFolder(), routers, interaction));
}

RouterConfig simRouter(const QString &name, quint16 port)
{
    RouterConfig router;
    router.Name = name;
    router.Address = u"127.0.0.1"_s;
    router.Port = QString::number(port);
    router.ApiUser = u"admin"_s;
    router.UserManagerAdmin = u"admin"_s;
    return router;
}

} // namespace

class LedgerCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unwritableSalesFile_data();
    void unwritableSalesFile();
    void salesFileNotTheJournalsIsKept_data();
    void salesFileNotTheJournalsIsKept();
    void renamedRouterSettlesItsVouchers();
    void goneRouterLeavesThemListed();
};

void LedgerCommandTest::unwritableSalesFile_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addRow("read-only file") << u"read-only"_s;
    QTest::addRow("a folder in its place") << u"folder"_s;
    QTest::addRow("a symbolic link in its place") << u"link"_s;
}

// PosHistory.bin cannot be written: the run says so and exits 1, the file (or
// what a link points to) is untouched, and the sale waits in the journal until
// the file can be written, when the next start writes it.
void LedgerCommandTest::unwritableSalesFile()
{
    QFETCH(QString, obstacle);
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    QCOMPARE(runCli(folder, generate(2)).exitCode, 0);
    const QString path = folder.dataFolder() + u"/PosHistory.bin"_s;
    const QString elsewhere = folder.path() + u"/elsewhere.bin"_s;
    const QByteArray before = folder.readDataFile(u"PosHistory.bin"_s);
    QCOMPARE(saleCountsOf(before), QList<int>{2});
    // Permissions do not stop root, which the immutable flag does.
    const bool immutable = obstacle == u"read-only" && ::geteuid() == 0;
    // The folder can be removed whatever the test's end.
    const auto mutableAgain = qScopeGuard([&] {
        if (immutable)
            runTool(u"chattr"_s, {u"-i"_s, path});
    });
    if (immutable) {
        if (runTool(u"chattr"_s, {u"+i"_s, path}).exitCode != 0)
            QSKIP("neither permissions nor the immutable flag can stop this user's writes here");
    } else if (obstacle == u"read-only") {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    } else if (obstacle == u"folder") {
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkpath(path + u"/x"_s));
    } else {
        QVERIFY(QFile::rename(path, elsewhere));
        QVERIFY(QFile::link(elsewhere, path));
    }

    const CliRun run = runCli(folder, generate(3));
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(u"Erro: não foi possível gravar o histórico de vendas ("_s + path +
                              u").\nAs vendas continuam registradas"_s),
             qPrintable(run.err));
    QCOMPARE(run.out.count(u'\n'), 3); // the vouchers were made and listed
    if (obstacle == u"read-only") {
        QCOMPARE(folder.readDataFile(u"PosHistory.bin"_s), before);
    } else if (obstacle == u"folder") {
        QVERIFY(QFileInfo(path).isDir());
    } else {
        QVERIFY2(run.err.contains(u"é um link simbólico e não foi alterado"_s), qPrintable(run.err));
        QCOMPARE(readFile(elsewhere), before);
        QCOMPARE(permissionBits(elsewhere), 0600);
    }

    if (immutable) {
        QCOMPARE(runTool(u"chattr"_s, {u"-i"_s, path}).exitCode, 0);
    } else if (obstacle == u"read-only") {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    } else if (obstacle == u"folder") {
        // Nothing of the first sale is lost with the file: the journal holds it.
        QVERIFY(QDir(path).removeRecursively());
    } else {
        QVERIFY(QFile::remove(path));
    }
    QCOMPARE(runCli(folder, Operator + QStringList{u"--no"_s, u"profiles"_s}).exitCode, 0);
    QCOMPARE(saleCountsOf(folder.readDataFile(u"PosHistory.bin"_s)), (QList<int>{2, 3}));
}

void LedgerCommandTest::salesFileNotTheJournalsIsKept_data()
{
    QTest::addColumn<bool>("journalKeepsSales");
    QTest::addColumn<QByteArray>("found");
    QTest::addColumn<QList<int>>("after");

    const QByteArray three = saleRecordBytes(3, u"1 Dia"_s, 500) + saleRecordBytes(1, u"3 horas"_s, 300) +
                             saleRecordBytes(4, u"3 horas"_s, 300);
    QByteArray firstSizeFlipped = three;
    firstSizeFlipped[0] = char(0xd9);
    // Before the journal keeps the sales (an installation that has just been
    // updated), a file that does not read whole gives what can be read of it.
    QTest::addRow("first record size flipped, new journal") << false << firstSizeFlipped << QList<int>{2};
    QTest::addRow("cut in the middle of the second record, new journal")
        << false << three.first(216 + 100) << QList<int>{3, 2};
    // Once it keeps them, the file is the journal's again, whatever it holds.
    QTest::addRow("first record size flipped, journal holds the sales")
        << true << firstSizeFlipped << QList<int>{5, 2};
    QTest::addRow("whole but not the journal's") << true << three << QList<int>{5, 2};
}

// A PosHistory.bin that does not read whole, or that is not the file the
// journal last wrote, is renamed aside with its bytes and the operator is told
// where; the new file holds the journal's sales.
void LedgerCommandTest::salesFileNotTheJournalsIsKept()
{
    QFETCH(bool, journalKeepsSales);
    QFETCH(QByteArray, found);
    QFETCH(QList<int>, after);
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    if (journalKeepsSales)
        QCOMPARE(runCli(folder, generate(5)).exitCode, 0);
    folder.writeDataFile(u"PosHistory.bin"_s, found);

    const CliRun run = runCli(folder, generate(2));
    QCOMPARE(run.exitCode, 0);
    const QStringList kept = keptFiles(folder);
    QCOMPARE(kept.size(), 1);
    QCOMPARE(folder.readDataFile(kept[0]), found);
    QVERIFY2(run.err.contains(u"foi mantido como "_s + folder.dataFolder() + u'/' + kept[0]),
             qPrintable(run.err));
    QCOMPARE(saleCountsOf(folder.readDataFile(u"PosHistory.bin"_s)), after);
}

// Vouchers a run left unconfirmed on a router that is then configured under
// another name (same address and port) are settled at that router's next
// session: recorded and sold once.
void LedgerCommandTest::renamedRouterSettlesItsVouchers()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    generateKilledBeforeConfirming(folder);
    const qsizetype waiting = pendingList(folder).size();
    QVERIFY(waiting > 0);
    saveRouterList(folder, {simRouter(u"Balcão"_s, sim.port())});

    const CliRun run =
        runCli(folder, Operator + QStringList{u"--no"_s, u"--router"_s, u"Balcão"_s, u"profiles"_s});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(pendingList(folder).isEmpty());
    QStringList onRouter = userNames(sim);
    QStringList recorded = historyUsers(folder);
    onRouter.sort();
    recorded.sort();
    QCOMPARE(recorded, onRouter);
    QCOMPARE(sum(saleCountsOf(folder.readDataFile(u"PosHistory.bin"_s))), onRouter.size());
}

// When no configured router is at the place the vouchers were sent to, they
// stay listed (history --pending), marked as waiting for a router that is not
// configured; once a router is configured there again, they are settled.
void LedgerCommandTest::goneRouterLeavesThemListed()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    generateKilledBeforeConfirming(folder);
    RouterConfig elsewhere = simRouter(u"Outro"_s, sim.port());
    elsewhere.Address = u"127.0.0.2"_s;
    saveRouterList(folder, {elsewhere});

    const QJsonArray pending = pendingList(folder);
    QVERIFY(!pending.isEmpty());
    for (const QJsonValue &voucher : pending) {
        QCOMPARE(voucher[u"router"_s].toString(), u"Sim"_s);
        QCOMPARE(voucher[u"place"_s].toString(), u"127.0.0.1:%1"_s.arg(sim.port()));
        QCOMPARE(voucher[u"settledBy"_s].toString(), QString());
    }
    const CliRun text = runCli(folder, Operator + QStringList{u"history"_s, u"--pending"_s});
    QCOMPARE(text.exitCode, 0);
    QVERIFY2(text.out.endsWith(u"%1 vouchers aguardam a confirmação do roteador (%1 de um roteador que não "
                               "está configurado).\n"_s.arg(pending.size())),
             qPrintable(text.out));
    // A session start on the router that is configured (which cannot be
    // reached) settles nothing of them.
    runCli(folder, Operator + QStringList{u"--no"_s, u"profiles"_s});
    QCOMPARE(pendingList(folder).size(), pending.size());

    saveRouterList(folder, {elsewhere, simRouter(u"Volta"_s, sim.port())});
    QCOMPARE(pendingList(folder)[0][u"settledBy"_s].toString(), u"Volta"_s);
    QCOMPARE(
        runCli(folder, Operator + QStringList{u"--no"_s, u"--router"_s, u"Volta"_s, u"profiles"_s}).exitCode,
        0);
    QVERIFY(pendingList(folder).isEmpty());
    QCOMPARE(sum(saleCountsOf(folder.readDataFile(u"PosHistory.bin"_s))), userNames(sim).size());
}

WIFITICKETER_TEST(LedgerCommandTest)
#include "ledgercommandtest.moc"
