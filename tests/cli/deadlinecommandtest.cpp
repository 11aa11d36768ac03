#include "clirun.h"
#include "clisimulator.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/regvalue.h"
#include "base/settingskey.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Runs wifiticketer-cli with a time-out of one second and a ceiling of three;
// a run that has not ended by itself within a minute is killed and gives
// exit code -1.
CliRun runWithShortLimits(const TestFolder &folder, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"WIFITICKETER_SETTINGS"_s, folder.settingsFile());
    env.insert(u"WIFITICKETER_DATA_DIR"_s, folder.dataFolder());
    env.insert(u"WIFITICKETER_API_TIMEOUT_MS"_s, u"1000"_s);
    env.insert(u"WIFITICKETER_API_CEILING_MS"_s, u"3000"_s);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(WIFITICKETER_CLI_PATH), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished(5000);
        return {};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QStringList newHotspotUsers(const SimProcess &sim, const QStringList &before)
{
    QStringList names;
    for (const auto &user : sim.state().hotspotUsers) {
        if (!before.contains(user.name))
            names << user.name;
    }
    return names;
}

QStringList hotspotNames(const SimProcess &sim)
{
    return newHotspotUsers(sim, {});
}

// The lines of HistoryPending.jsonl, read without the program's reader, as
// "Journal UserName Serial" ("-" for a row without a journal mark); the lines
// of the counter's sales ledger are left out.
QStringList journalLines(const TestFolder &folder)
{
    QStringList lines;
    for (const QByteArray &line : folder.readDataFile(u"HistoryPending.jsonl"_s).split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        if (object.value(u"Journal"_s) == u"sales"_s || object.value(u"Journal"_s) == u"posted"_s)
            continue;
        lines << u"%1 %2 %3"_s.arg(object.value(u"Journal"_s).toString(u"-"_s),
                                   object.value(u"UserName"_s).toString(),
                                   QString::number(object.value(u"Serial"_s).toInteger()));
    }
    return lines;
}

int addsSent(const SimProcess &sim)
{
    int adds = 0;
    for (const QStringList &words : sim.commands())
        adds += words.value(0) == u"/ip/hotspot/user/add";
    return adds;
}

} // namespace

class DeadlineCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addNeverFinished_data();
    void addNeverFinished();
    void loginTrickling();
};

void DeadlineCommandTest::addNeverFinished_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<bool>("pipelined");
    const QStringList onAdds = {u"--fault-command"_s, u"/ip/hotspot/user/add"_s};
    // A "!re" every 200 ms, each well within the time-out: only the ceiling
    // ends the reply.
    const QStringList endless = QStringList{u"--endless-re"_s, u"200"_s} + onAdds;
    // "!done", "=ret=*8" a byte a second: the sentence never comes within the
    // time-out, though every byte does.
    const QStringList trickling = QStringList{u"--trickle"_s, u"1000"_s} + onAdds;
    QTest::addRow("one by one, a reply without end") << endless << false;
    QTest::addRow("pipelined, a reply without end") << endless << true;
    QTest::addRow("one by one, a byte a second") << trickling << false;
    QTest::addRow("pipelined, a byte a second") << trickling << true;
}

// The router carries the add out and never finishes its answer: the run ends
// as after a lost connection. The voucher the router may hold stays in the
// journal as unconfirmed, for the next start to ask the router about; nothing
// is listed, recorded or sold, and no further add goes out.
void DeadlineCommandTest::addNeverFinished()
{
    QFETCH(QStringList, faults);
    QFETCH(bool, pipelined);
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState(), false, 0, faults));
    QVERIFY(install(folder, sim.port()));
    if (!pipelined)
        saveValue(SettingsKey(folder.settingsFile()), u"PipelinedGeneration"_s, dwordValue(0));
    const QStringList before = hotspotNames(sim);

    const CliRun run =
        runWithShortLimits(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                          u"3 horas"_s, u"--count"_s, u"3"_s});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(u"Ocorreu um erro durante a criação do usuário.\n"_s), qPrintable(run.err));
    QCOMPARE(run.out, QString());

    const QStringList added = newHotspotUsers(sim, before);
    QCOMPARE(added.size(), 1);
    QCOMPARE(addsSent(sim), 1);
    QCOMPARE(journalLines(folder), QStringList{u"unconfirmed "_s + added[0] + u" 1"_s});
    QCOMPARE(folder.readDataFile(u"PosHistory.bin"_s), QByteArray());
    const CliRun history =
        runWithShortLimits(folder, Operator + QStringList{u"history"_s, u"--format"_s, u"json"_s});
    QCOMPARE(history.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(history.out.toUtf8()).object().value(u"count"_s).toInt(-1), 0);
}

// A router whose login answer comes a byte a second is one that does not
// answer: the run ends with the connection message, having sent nothing.
void DeadlineCommandTest::loginTrickling()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState(), false, 0,
                      {u"--trickle"_s, u"1000"_s, u"--fault-command"_s, u"/login"_s}));
    QVERIFY(install(folder, sim.port()));

    const CliRun run =
        runWithShortLimits(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                          u"3 horas"_s, u"--count"_s, u"3"_s});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(u"Ocorreu um erro ao conectar ao roteador Mikrotik Sim.\n"_s),
             qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QCOMPARE(sim.commands(), Commands());
    QCOMPARE(journalLines(folder), QStringList());
}

WIFITICKETER_TEST(DeadlineCommandTest)
#include "deadlinecommandtest.moc"
