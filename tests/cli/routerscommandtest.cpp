#include "clirun.h"
#include "testfolder.h"
#include "testmain.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class RoutersCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsRoutersFile();
    void firstStartListsSeededRouter();
    void listsDesigns_data();
    void listsDesigns();
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

void RoutersCommandTest::listsDesigns_data()
{
    QTest::addColumn<bool>("designFile");
    QTest::addColumn<QString>("listed");
    QTest::addRow("Voucher.bin") << true << u"Café\nVazio\n"_s;
    QTest::addRow("new installation") << false << u"Padrão\n"_s;
}

// The names --design takes.
void RoutersCommandTest::listsDesigns()
{
    QFETCH(bool, designFile);
    QFETCH(QString, listed);
    TestFolder folder;
    if (designFile)
        folder.copyFixture(u"Voucher.bin"_s, u"Voucher.bin"_s);
    const CliRun run = runCli(folder, {u"designs"_s});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, listed);
    QCOMPARE(run.err, QString());
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
    // Options of the router commands.
    const QString badInterval = u"--interval needs a duration such as 10m or 00:10:00"_s;
    QTest::addRow("remove without --user") << QStringList{u"remove"_s} << u"remove needs --user NAME"_s;
    QTest::addRow("remove with an empty --user")
        << QStringList{u"remove"_s, u"--user"_s, QString()} << u"remove needs --user NAME"_s;
    QTest::addRow("--interval on profiles")
        << QStringList{u"profiles"_s, u"--interval"_s, u"5m"_s} << u"profiles does not take --interval"_s;
    QTest::addRow("--user on upload-script")
        << QStringList{u"upload-script"_s, u"--user"_s, u"ana"_s} << u"upload-script does not take --user"_s;
    QTest::addRow("--usermanager on routers")
        << QStringList{u"routers"_s, u"--usermanager"_s} << u"routers does not take --usermanager"_s;
    QTest::addRow("interval without unit")
        << QStringList{u"upload-script"_s, u"--interval"_s, u"90"_s} << badInterval;
    QTest::addRow("interval of words")
        << QStringList{u"upload-script"_s, u"--interval"_s, u"soon"_s} << badInterval;
    QTest::addRow("generate without --profile")
        << QStringList{u"generate"_s, u"--count"_s, u"1"_s} << u"generate needs --profile TITLE"_s;
    QTest::addRow("generate with --count and --name")
        << QStringList{u"generate"_s, u"--profile"_s, u"p"_s, u"--count"_s, u"1"_s, u"--name"_s, u"a"_s}
        << u"generate needs either --count N or --name USER"_s;
    QTest::addRow("generate with neither") << QStringList{u"generate"_s, u"--profile"_s, u"p"_s}
                                           << u"generate needs either --count N or --name USER"_s;
    QTest::addRow("negative count") << QStringList{u"generate"_s, u"--profile"_s, u"p"_s, u"--count"_s,
                                                   u"-1"_s}
                                    << u"--count needs a number of vouchers, 0 or more"_s;
    QTest::addRow("csv of generate") << QStringList{u"generate"_s, u"--profile"_s, u"p"_s,  u"--count"_s,
                                                    u"1"_s,        u"--format"_s,  u"csv"_s}
                                     << u"--format of generate is one of text, json"_s;
    QTest::addRow("history date") << QStringList{u"history"_s, u"--from"_s, u"10/12/2026"_s}
                                  << u"--from needs a date as YYYY-MM-DD"_s;
    QTest::addRow("history impossible date")
        << QStringList{u"history"_s, u"--to"_s, u"2026-02-30"_s} << u"--to needs a date as YYYY-MM-DD"_s;
    QTest::addRow("--count on history")
        << QStringList{u"history"_s, u"--count"_s, u"1"_s} << u"history does not take --count"_s;
    QTest::addRow("--user twice") << QStringList{u"remove"_s, u"--user"_s, u"a"_s, u"--user"_s, u"b"_s}
                                  << u"--user given more than once"_s;
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
