#include "testfolder.h"
#include "testmain.h"

#include <QDir>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun runCli(const TestFolder &folder, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"WIFITICKETER_SETTINGS"_s, folder.settingsFile());
    env.insert(u"WIFITICKETER_DATA_DIR"_s, folder.dataFolder());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(WIFITICKETER_CLI_PATH), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class RoutersCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsRoutersFile();
    void firstStartListsSeededRouter();
    void usageErrors_data();
    void usageErrors();
    void help();
};

void RoutersCommandTest::listsRoutersFile()
{
    TestFolder folder;
    folder.copyFixture(u"Routers.bin"_s, u"Routers.bin"_s);
    const CliRun run = runCli(folder, {u"routers"_s});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, u"Café Central\t192.168.88.1\t8728\tapi\tHS=1\tUM=1\tMAC=0\tadmin\n"
                      "Hotel Mar\thotspot.example.net\t8729\toperador\tHS=1\tUM=0\tMAC=1\t\n"_s);
    QCOMPARE(run.err, QString());
}

void RoutersCommandTest::firstStartListsSeededRouter()
{
    TestFolder folder;
    // The common options are accepted; listing needs no login.
    const CliRun run = runCli(folder, {u"--router"_s, u"x"_s, u"--no"_s, u"routers"_s});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, u"127.0.0.1\t127.0.0.1\t8728\tadmin\tHS=1\tUM=1\tMAC=0\t\n"_s);
    // Nothing is written by listing.
    QVERIFY(!QDir(folder.dataFolder()).exists());
    QVERIFY(!QFile::exists(folder.settingsFile()));
}

void RoutersCommandTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::addRow("no command") << QStringList{} << u"no command given"_s;
    QTest::addRow("unknown command") << QStringList{u"fly"_s} << u"unknown command 'fly'"_s;
    QTest::addRow("unknown option") << QStringList{u"--colour"_s, u"routers"_s}
                                    << u"Unknown option 'colour'."_s;
    QTest::addRow("missing value") << QStringList{u"routers"_s, u"--router"_s}
                                   << u"Missing value after '--router'."_s;
    QTest::addRow("yes and no") << QStringList{u"--yes"_s, u"--no"_s, u"routers"_s}
                                << u"--yes and --no exclude each other"_s;
    QTest::addRow("two commands") << QStringList{u"routers"_s, u"routers"_s}
                                  << u"unexpected argument 'routers'"_s;
}

void RoutersCommandTest::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    TestFolder folder;
    const CliRun run = runCli(folder, arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.startsWith(u"wifiticketer-cli: "_s + message + u'\n'), qPrintable(run.err));
    QVERIFY(run.err.contains(u"Usage: wifiticketer-cli"_s));
    QCOMPARE(run.out, QString());
}

void RoutersCommandTest::help()
{
    TestFolder folder;
    const CliRun run = runCli(folder, {u"--help"_s});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith(u"Usage: wifiticketer-cli"_s));
}

WIFITICKETER_TEST(RoutersCommandTest)
#include "routerscommandtest.moc"
