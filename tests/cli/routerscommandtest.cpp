#include "clirun.h"
#include "recordbytes.h"
#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "config/routersfile.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class RoutersCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsRoutersFile();
    void firstStartListsSeededRouter();
    void controlCharactersKeepOneLinePerRouter();
    void listsDesigns_data();
    void listsDesigns();
    void damagedListsAreTold_data();
    void damagedListsAreTold();
    void usageErrors_data();
    void usageErrors();
    void help();
    void commandHelp_data();
    void commandHelp();
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

// A name with a tab or a line break, as an older file may hold: each router
// stays one line of eight fields.
void RoutersCommandTest::controlCharactersKeepOneLinePerRouter()
{
    TestFolder folder;
    RouterConfig odd;
    odd.Name = u"Loja\tNova\nSul"_s;
    odd.Address = u"10.0.0.1"_s;
    odd.ApiUser = u"api\r"_s;
    ScriptedInteraction interaction;
    QVERIFY(saveRouters(folder.dataFolder(), {odd}, interaction));
    const CliRun run = runCli(folder, {u"routers"_s});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, u"Loja\\x09Nova\\x0aSul\t10.0.0.1\t8728\tapi\\x0d\tHS=1\tUM=1\tMAC=0\t\n"_s);
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

void RoutersCommandTest::damagedListsAreTold_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("routersDamaged");
    QTest::addColumn<bool>("designsDamaged");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QStringList>("told"); // the files named on standard error

    const QString oneRouter = u"Café Central\t192.168.88.1\t8728\tapi\tHS=1\tUM=1\tMAC=0\tadmin\n"_s;
    const QString twoRouters =
        oneRouter + u"Hotel Mar\thotspot.example.net\t8729\toperador\tHS=1\tUM=0\tMAC=1\t\n"_s;
    QTest::addRow("routers, Routers.bin damaged")
        << u"routers"_s << true << false << oneRouter << QStringList{u"Routers.bin"_s};
    QTest::addRow("routers, both damaged")
        << u"routers"_s << true << true << oneRouter << QStringList{u"Routers.bin"_s};
    QTest::addRow("routers, Voucher.bin damaged")
        << u"routers"_s << false << true << twoRouters << QStringList{};
    QTest::addRow("designs, both damaged")
        << u"designs"_s << true << true << u"Café\n"_s << QStringList{u"Voucher.bin"_s};
}

// A command works with what could be read of a damaged list and says on
// standard error which of the files it uses is damaged; the files stay.
void RoutersCommandTest::damagedListsAreTold()
{
    QFETCH(QString, command);
    QFETCH(bool, routersDamaged);
    QFETCH(bool, designsDamaged);
    QFETCH(QString, out);
    QFETCH(QStringList, told);

    TestFolder folder;
    // The second router cut short; the second design's header of a graphic's size.
    const QByteArray routers =
        routersDamaged ? fixture(u"Routers.bin"_s).left(2000) : fixture(u"Routers.bin"_s);
    const QByteArray designs = designsDamaged
                                   ? withU32(fixture(u"Voucher.bin"_s), 428 + 3 * 436 + 2 * 432, 436)
                                   : fixture(u"Voucher.bin"_s);
    folder.writeDataFile(u"Routers.bin"_s, routers);
    folder.writeDataFile(u"Voucher.bin"_s, designs);

    const CliRun run = runCli(folder, {command});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, out);
    QStringList paragraphs;
    const QString kept =
        u"\nEle foi mantido como está e nada será gravado nele; corrija-o ou mova-o para outro "
        "lugar e inicie o programa novamente."_s;
    for (const QString &file : told) {
        const QString path = folder.dataFolder() + u'/' + file;
        paragraphs.append(
            file == u"Routers.bin"
                ? u"A lista de roteadores não pôde ser lida por inteiro: o arquivo %1 está danificado."_s.arg(
                      path) +
                      kept
                : u"As definições de voucher não puderam ser lidas por inteiro: o arquivo %1 está "
                  "danificado."_s.arg(path) +
                      kept);
    }
    QCOMPARE(run.err, told.isEmpty() ? QString() : paragraphs.join(u"\n\n"_s) + u'\n');
    QCOMPARE(folder.readDataFile(u"Routers.bin"_s), routers);
    QCOMPARE(folder.readDataFile(u"Voucher.bin"_s), designs);
}

void RoutersCommandTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("helpOf"); // the command whose help the line points to; empty: the overall one
    QTest::addRow("no command") << QStringList{} << u"no command given"_s << QString();
    QTest::addRow("unknown command") << QStringList{u"fly"_s} << u"unknown command 'fly'"_s << QString();
    QTest::addRow("help of an unknown command")
        << QStringList{u"fly"_s, u"--help"_s} << u"unknown command 'fly'"_s << QString();
    QTest::addRow("unknown option") << QStringList{u"--colour"_s, u"routers"_s}
                                    << u"Unknown option 'colour'"_s << u"routers"_s;
    QTest::addRow("missing value") << QStringList{u"routers"_s, u"--router"_s}
                                   << u"Missing value after '--router'"_s << u"routers"_s;
    QTest::addRow("yes and no") << QStringList{u"--yes"_s, u"--no"_s, u"routers"_s}
                                << u"--yes and --no exclude each other"_s << u"routers"_s;
    QTest::addRow("operator password twice")
        << QStringList{u"--operator-password=1234"_s, u"--operator-password-stdin"_s, u"routers"_s}
        << u"--operator-password and --operator-password-stdin exclude each other"_s << u"routers"_s;
    QTest::addRow("two passwords from standard input")
        << QStringList{u"--operator-password-stdin"_s, u"router"_s, u"set"_s, u"Loja"_s,
                       u"--password-stdin"_s}
        << u"--operator-password-stdin and --password-stdin cannot both read standard input; give the "
           "operator's password in WIFITICKETER_OPERATOR_PASSWORD"_s
        << u"router"_s;
    QTest::addRow("two commands") << QStringList{u"routers"_s, u"routers"_s}
                                  << u"unexpected argument 'routers'"_s << u"routers"_s;
    // Options of the router commands.
    const QString badInterval = u"--interval needs a duration such as 10m or 00:10:00"_s;
    QTest::addRow("remove without --user")
        << QStringList{u"remove"_s} << u"remove needs --user NAME"_s << u"remove"_s;
    QTest::addRow("remove with an empty --user")
        << QStringList{u"remove"_s, u"--user"_s, QString()} << u"remove needs --user NAME"_s << u"remove"_s;
    // --usermanager is a switch of remove: a value after it is a word too many.
    QTest::addRow("remove --usermanager with a value")
        << QStringList{u"remove"_s, u"--user"_s, u"ana"_s, u"--usermanager"_s, u"1"_s}
        << u"unexpected argument '1'"_s << u"remove"_s;
    QTest::addRow("--interval on profiles") << QStringList{u"profiles"_s, u"--interval"_s, u"5m"_s}
                                            << u"profiles does not take --interval"_s << u"profiles"_s;
    QTest::addRow("--user on upload-script") << QStringList{u"upload-script"_s, u"--user"_s, u"ana"_s}
                                             << u"upload-script does not take --user"_s << u"upload-script"_s;
    QTest::addRow("--usermanager on routers") << QStringList{u"routers"_s, u"--usermanager"_s}
                                              << u"routers does not take --usermanager"_s << u"routers"_s;
    QTest::addRow("interval without unit")
        << QStringList{u"upload-script"_s, u"--interval"_s, u"90"_s} << badInterval << u"upload-script"_s;
    QTest::addRow("interval of words")
        << QStringList{u"upload-script"_s, u"--interval"_s, u"soon"_s} << badInterval << u"upload-script"_s;
    QTest::addRow("negative interval")
        << QStringList{u"upload-script"_s, u"--interval"_s, u"-10m"_s} << badInterval << u"upload-script"_s;
    QTest::addRow("interval beyond ten years")
        << QStringList{u"upload-script"_s, u"--interval"_s, u"99999999w"_s} << badInterval
        << u"upload-script"_s;
    QTest::addRow("generate without --profile") << QStringList{u"generate"_s, u"--count"_s, u"1"_s}
                                                << u"generate needs --profile TITLE"_s << u"generate"_s;
    QTest::addRow("generate with --count and --name")
        << QStringList{u"generate"_s, u"--profile"_s, u"p"_s, u"--count"_s, u"1"_s, u"--name"_s, u"a"_s}
        << u"generate needs either --count N or --name USER"_s << u"generate"_s;
    QTest::addRow("generate with neither")
        << QStringList{u"generate"_s, u"--profile"_s, u"p"_s}
        << u"generate needs either --count N or --name USER"_s << u"generate"_s;
    QTest::addRow("negative count") << QStringList{u"generate"_s, u"--profile"_s, u"p"_s, u"--count"_s,
                                                   u"-1"_s}
                                    << u"--count needs a number of vouchers, 0 or more"_s << u"generate"_s;
    QTest::addRow("csv of generate") << QStringList{u"generate"_s, u"--profile"_s, u"p"_s,  u"--count"_s,
                                                    u"1"_s,        u"--format"_s,  u"csv"_s}
                                     << u"--format of generate is one of text, json"_s << u"generate"_s;
    QTest::addRow("--printer without --print")
        << QStringList{u"generate"_s, u"--profile"_s, u"p"_s, u"--count"_s, u"1"_s, u"--printer"_s, u"x"_s}
        << u"--printer goes with --print"_s << u"generate"_s;
    QTest::addRow("history date") << QStringList{u"history"_s, u"--from"_s, u"10/12/2026"_s}
                                  << u"--from needs a date as YYYY-MM-DD"_s << u"history"_s;
    QTest::addRow("history impossible date") << QStringList{u"history"_s, u"--to"_s, u"2026-02-30"_s}
                                             << u"--to needs a date as YYYY-MM-DD"_s << u"history"_s;
    QTest::addRow("--count on history") << QStringList{u"history"_s, u"--count"_s, u"1"_s}
                                        << u"history does not take --count"_s << u"history"_s;
    QTest::addRow("--user twice") << QStringList{u"remove"_s, u"--user"_s, u"a"_s, u"--user"_s, u"b"_s}
                                  << u"--user given more than once"_s << u"remove"_s;

    // Editing the routers.
    const QString routerWords = u"router needs add, set or remove, then the router's NAME"_s;
    const QString noPassword = u"the API password is not taken from the command line, where others can read "
                               "it; pipe it in with --password-stdin"_s;
    QTest::addRow("router alone") << QStringList{u"router"_s} << routerWords << u"router"_s;
    QTest::addRow("router rename") << QStringList{u"router"_s, u"rename"_s, u"Loja"_s} << routerWords
                                   << u"router"_s;
    QTest::addRow("router add without a name")
        << QStringList{u"router"_s, u"add"_s} << u"router add needs the router's NAME"_s << u"router"_s;
    QTest::addRow("router set with an empty name")
        << QStringList{u"router"_s, u"set"_s, QString(), u"--port"_s, u"1"_s}
        << u"router set needs the router's NAME"_s << u"router"_s;
    QTest::addRow("router add with two names") << QStringList{u"router"_s, u"add"_s, u"Loja"_s, u"Filial"_s}
                                               << u"unexpected argument 'Filial'"_s << u"router"_s;
    QTest::addRow("router password as an option")
        << QStringList{u"router"_s,   u"add"_s,        u"Loja"_s,   u"--address"_s,
                       u"10.0.0.1"_s, u"--password"_s, u"segredo"_s}
        << noPassword << u"router"_s;
    QTest::addRow("router password as --api-password")
        << QStringList{u"router"_s, u"set"_s, u"Loja"_s, u"--api-password=segredo"_s} << noPassword
        << u"router"_s;
    QTest::addRow("--password on generate") << QStringList{u"generate"_s, u"--password"_s, u"x"_s}
                                            << u"generate does not take --password"_s << u"generate"_s;
    QTest::addRow("router remove with an option")
        << QStringList{u"router"_s, u"remove"_s, u"Loja"_s, u"--port"_s, u"8729"_s}
        << u"router remove does not take --port"_s << u"router"_s;
    QTest::addRow("router set without a change")
        << QStringList{u"--operator"_s, u"gerente"_s, u"router"_s, u"set"_s, u"Loja"_s}
        << u"router set needs something to change, such as --port P"_s << u"router"_s;
    QTest::addRow("router --hotspot yes")
        << QStringList{u"router"_s, u"set"_s, u"Loja"_s, u"--hotspot"_s, u"yes"_s}
        << u"--hotspot takes 0 or 1"_s << u"router"_s;
    QTest::addRow("router --usermanager without a value")
        << QStringList{u"router"_s, u"set"_s, u"Loja"_s, u"--usermanager"_s}
        << u"Missing value after '--usermanager'"_s << u"router"_s;
    QTest::addRow("router --mac-binding 2")
        << QStringList{u"router"_s, u"set"_s, u"Loja"_s, u"--mac-binding=2"_s}
        << u"--mac-binding takes 0 or 1"_s << u"router"_s;
    QTest::addRow("router option on routers") << QStringList{u"routers"_s, u"--port"_s, u"1"_s}
                                              << u"routers does not take --port"_s << u"routers"_s;
    QTest::addRow("profile option on router")
        << QStringList{u"router"_s, u"set"_s, u"Loja"_s, u"--price"_s, u"1"_s}
        << u"router does not take --price"_s << u"router"_s;

    // Editing the hotspot profiles.
    const QString addNeeds = u"hotspot-profile add needs --validity D and --router-profile P"_s;
    QTest::addRow("hotspot-profile add without --validity")
        << QStringList{u"hotspot-profile"_s, u"add"_s, u"2 horas"_s, u"--router-profile"_s, u"default"_s}
        << addNeeds << u"hotspot-profile"_s;
    QTest::addRow("hotspot-profile add without --router-profile")
        << QStringList{u"hotspot-profile"_s, u"add"_s, u"2 horas"_s, u"--validity"_s, u"2h"_s} << addNeeds
        << u"hotspot-profile"_s;
    QTest::addRow("hotspot-profile without action")
        << QStringList{u"hotspot-profile"_s}
        << u"hotspot-profile needs add, set or remove, then the profile's NAME"_s << u"hotspot-profile"_s;
    QTest::addRow("hotspot-profile set without a change")
        << QStringList{u"hotspot-profile"_s, u"set"_s, u"3 horas"_s}
        << u"hotspot-profile set needs something to change, such as --price P"_s << u"hotspot-profile"_s;
    QTest::addRow("hotspot-profile --uptime of words")
        << QStringList{u"hotspot-profile"_s, u"set"_s, u"3 horas"_s, u"--uptime"_s, u"soon"_s}
        << u"--uptime needs a duration such as 2h or 01:30:00, or 0 for no limit"_s << u"hotspot-profile"_s;
    QTest::addRow("hotspot-profile negative --uptime")
        << QStringList{u"hotspot-profile"_s, u"set"_s, u"3 horas"_s, u"--uptime"_s, u"-1h"_s}
        << u"--uptime needs a duration such as 2h or 01:30:00, or 0 for no limit"_s << u"hotspot-profile"_s;
    QTest::addRow("router option on hotspot-profile")
        << QStringList{u"hotspot-profile"_s, u"set"_s, u"3 horas"_s, u"--port"_s, u"1"_s}
        << u"hotspot-profile does not take --port"_s << u"hotspot-profile"_s;
    QTest::addRow("hotspot-profile remove with an option")
        << QStringList{u"hotspot-profile"_s, u"remove"_s, u"3 horas"_s, u"--price"_s, u"1"_s}
        << u"hotspot-profile remove does not take --price"_s << u"hotspot-profile"_s;
}

// One line, what is wrong and whose help tells what to do; never the whole help.
void RoutersCommandTest::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QFETCH(QString, helpOf);
    TestFolder folder;
    const CliRun run = runCli(folder, arguments);
    QCOMPARE(run.exitCode, 2);
    const QString help =
        helpOf.isEmpty() ? u"wifiticketer-cli --help"_s : u"wifiticketer-cli %1 --help"_s.arg(helpOf);
    QCOMPARE(run.err, u"wifiticketer-cli: %1; see '%2'\n"_s.arg(message, help));
    QCOMPARE(run.out, QString());
    // Nothing was written.
    QVERIFY(!QDir(folder.dataFolder()).exists());
}

void RoutersCommandTest::help()
{
    TestFolder folder;
    const CliRun run = runCli(folder, {u"--help"_s});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith(u"Usage: wifiticketer-cli"_s));
    // Every command is listed at the start of a line of its own.
    for (const QString &command :
         {u"routers"_s, u"router add|set|remove NAME"_s, u"hotspot-profile add|set|remove NAME"_s,
          u"designs"_s, u"profiles"_s, u"upload-script"_s, u"remove --user NAME"_s,
          u"generate --profile TITLE"_s, u"print-test --design NAME"_s, u"history"_s})
        QVERIFY2(run.out.contains(u"\n  "_s + command), qPrintable(command));
}

void RoutersCommandTest::commandHelp_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("synopsis");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("example");

    QTest::addRow("routers") << QStringList{u"routers"_s, u"--help"_s} << u"routers"_s << QStringList{}
                             << u"wifiticketer-cli routers"_s;
    QTest::addRow("designs") << QStringList{u"designs"_s, u"-h"_s} << u"designs"_s << QStringList{}
                             << u"wifiticketer-cli designs"_s;
    QTest::addRow("profiles") << QStringList{u"--help"_s, u"profiles"_s} << u"[--router NAME] profiles"_s
                              << QStringList{} << u"--no profiles"_s;
    QTest::addRow("upload-script") << QStringList{u"upload-script"_s, u"--help"_s}
                                   << u"[--router NAME] upload-script [--interval DURATION]"_s
                                   << QStringList{u"--interval"_s} << u"upload-script --interval 10m"_s;
    QTest::addRow("remove") << QStringList{u"remove"_s, u"--help"_s}
                            << u"[--router NAME] remove --user NAME [--usermanager]"_s
                            << QStringList{u"--user"_s, u"--usermanager"_s} << u"remove --user usr4821"_s;
    QTest::addRow("generate") << QStringList{u"generate"_s, u"--help"_s}
                              << u"[--router NAME] generate --profile TITLE (--count N | --name USER)"_s
                              << QStringList{u"--profile"_s, u"--count"_s, u"--name"_s,    u"--format"_s,
                                             u"--pdf"_s,     u"--print"_s, u"--printer"_s, u"--design"_s}
                              << u"generate --profile \"1 Hora\" --count 10 --pdf vouchers.pdf"_s;
    QTest::addRow("print-test") << QStringList{u"print-test"_s, u"--help"_s}
                                << u"print-test --design NAME --pdf FILE"_s
                                << QStringList{u"--design"_s, u"--pdf"_s}
                                << u"print-test --design Padrão --pdf teste.pdf"_s;
    QTest::addRow("history") << QStringList{u"history"_s, u"--help"_s}
                             << u"history [--from YYYY-MM-DD] [--to YYYY-MM-DD]"_s
                             << QStringList{u"--from"_s, u"--to"_s, u"--generator"_s, u"--router-name"_s,
                                            u"--format"_s}
                             << u"history --from 2026-01-01 --to 2026-01-31 --format csv"_s;
    const QStringList routerOptions = {
        u"--address"_s, u"--port"_s,        u"--api-user"_s,    u"--password-stdin"_s,
        u"--hotspot"_s, u"--usermanager"_s, u"--mac-binding"_s, u"--usermanager-admin"_s};
    QTest::addRow("router")
        << QStringList{u"router"_s, u"--help"_s} << u"router add|set|remove NAME"_s << routerOptions
        << u"printf 'secret\\n' | wifiticketer-cli router add Loja --address 192.168.88.1 "
           "--api-user api --password-stdin"_s;
    // Asked in the middle of a command line, it is still the command's help.
    QTest::addRow("router add") << QStringList{u"router"_s, u"add"_s, u"--help"_s}
                                << u"router add|set|remove NAME"_s << routerOptions
                                << u"wifiticketer-cli router set Loja --port 8729"_s;
    QTest::addRow("hotspot-profile") << QStringList{u"hotspot-profile"_s, u"--help"_s}
                                     << u"hotspot-profile add|set|remove NAME"_s
                                     << QStringList{u"--validity"_s,       u"--uptime"_s,
                                                    u"--router-profile"_s, u"--server"_s,
                                                    u"--limit-in"_s,       u"--limit-out"_s,
                                                    u"--limit-total"_s,    u"--price"_s}
                                     << u"hotspot-profile add \"3 horas\" --validity 3h --router-profile "
                                        "default --price 3,00"_s;
}

// A command's own help: its synopsis, each of its options, an example, and
// the common options; exit 0, on standard output.
void RoutersCommandTest::commandHelp()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, synopsis);
    QFETCH(QStringList, options);
    QFETCH(QString, example);
    TestFolder folder;
    const CliRun run = runCli(folder, arguments);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    QVERIFY2(run.out.startsWith(u"Usage: wifiticketer-cli "_s + synopsis), qPrintable(run.out));
    for (const QString &option : options)
        QVERIFY2(run.out.contains(u"\n  "_s + option + u' '), qPrintable(option));
    QVERIFY2(run.out.contains(u"\nExample"_s), qPrintable(run.out));
    QVERIFY2(run.out.contains(example), qPrintable(example));
    QVERIFY(run.out.contains(u"\n  --operator NAME"_s));
    // Not the overall help.
    QVERIFY(!run.out.contains(u"\nCommands:"_s));
}

WIFITICKETER_TEST(RoutersCommandTest)
#include "routerscommandtest.moc"
