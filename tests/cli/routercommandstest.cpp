#include "clirun.h"
#include "clisimulator.h"
#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/settingskey.h"
#include "config/appsettings.h"
#include "config/hotspotprofilesfile.h"
#include "config/routersfile.h"

#include "routersim/routerbehaviour.h"
#include "routersim/routerstate.h"
#include "routersim/statejson.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<QByteArray>)

namespace {

const QString LoginRefused =
    u"Nome de usuário ou senha inválido.\n\nPor padrão os campos Nome de usuário e senha são vazios.\n"_s;
const QString ScriptQuestion =
    u"Ao criar usuários do HotSpot, o wifiTicketer necessita fazer upload de um script para controlar a "
    "expiração do usuário.\nVocê deseja transferir esse script para o roteador?\n"_s;
const QString ScriptUploaded = u"Script transferido com sucesso para o roteador.\nScript and scheduler foram "
                               "criados com o nome wifiTicketer.\n"_s;

routersim::HotspotUser hotspotUser(const QString &name)
{
    routersim::HotspotUser user;
    user.name = name;
    return user;
}

routersim::UserManagerUser userManagerUser(const QString &name)
{
    routersim::UserManagerUser user;
    user.name = name;
    user.customer = u"admin"_s;
    return user;
}

template<class T>
QStringList namesOf(const QList<T> &records)
{
    QStringList names;
    for (const T &record : records)
        names.append(record.name);
    return names;
}

} // namespace

class RouterCommandsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void profiles_data();
    void profiles();
    void wrongOperator_data();
    void wrongOperator();
    void operatorPasswordSources_data();
    void operatorPasswordSources();
    void unreachableRouter_data();
    void unreachableRouter();
    void uploadScript_data();
    void uploadScript();
    void uploadScriptRefused();
    void remove_data();
    void remove();
    void unknownRouter_data();
    void unknownRouter();
    void diagnosticsGoToStandardError();
};

void RouterCommandsTest::profiles_data()
{
    QTest::addColumn<QStringList>("answer");
    QTest::addColumn<bool>("uploaded");
    QTest::addRow("yes") << QStringList{u"--yes"_s} << true;
    QTest::addRow("no") << QStringList{u"--no"_s} << false;
    // Standard input is no terminal: the question is answered No.
    QTest::addRow("no terminal") << QStringList{} << false;
}

void RouterCommandsTest::profiles()
{
    QFETCH(QStringList, answer);
    QFETCH(bool, uploaded);

    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const CliRun run = runCli(folder, Operator + answer + QStringList{u"profiles"_s});

    QCOMPARE(run.exitCode, 0);
    // Hotspot profiles of the installation and User Manager profiles of the
    // router, together in order of validity.
    // Without a design map every profile gets the first design of the list.
    QCOMPARE(run.out, u"HS\t3 horas\t 03:00:00\t03:00:00\t300\tR$ 3,00\tPadrão\n"
                      "UM\t1dia\t1d\t1 dia \t500\tR$ 5,00\tPadrão\n"
                      "UM\t7dias\t7d\t7 dias \t2500\tR$ 25,00\tPadrão\n"
                      "HS\t30 dias\t30d\t30 dias \t4500\tR$ 45,00\tPadrão\n"_s);
    QCOMPARE(run.err, ScriptQuestion + (uploaded ? ScriptUploaded : QString()));
    const Commands commands = sim.commands();
    QCOMPARE(commands.value(0), QStringList{u"/system/resource/print"_s});
    const routersim::RouterState router = sim.state();
    QCOMPARE(namesOf(router.scripts), uploaded ? QStringList{u"wifiTicketer"_s} : QStringList());
    QCOMPARE(namesOf(router.schedulers), uploaded ? QStringList{u"wifiTicketer"_s} : QStringList());
    if (uploaded)
        QCOMPARE(router.schedulers[0].interval, u" 00:15:00"_s);
}

void RouterCommandsTest::wrongOperator_data()
{
    QTest::addColumn<QStringList>("arguments");
    const QStringList wrongPassword = {u"--operator"_s, u"caixa"_s, u"--operator-password"_s, u"4321"_s};
    QTest::addRow("profiles") << wrongPassword + QStringList{u"--yes"_s, u"profiles"_s};
    // Names are compared with their case.
    QTest::addRow("profiles, name in capitals")
        << QStringList{u"--operator"_s, u"Caixa"_s, u"--operator-password"_s, u"1234"_s, u"profiles"_s};
    QTest::addRow("upload-script") << wrongPassword + QStringList{u"upload-script"_s};
    QTest::addRow("remove") << wrongPassword + QStringList{u"remove"_s, u"--user"_s, u"ana"_s};
    // Without --operator the empty name is checked, and there is no such user.
    QTest::addRow("no operator") << QStringList{u"remove"_s, u"--user"_s, u"ana"_s};
}

void RouterCommandsTest::wrongOperator()
{
    QFETCH(QStringList, arguments);

    TestFolder folder;
    SimProcess sim(folder);
    routersim::RouterState state = routersim::defaultRouterState();
    state.hotspotUsers = {hotspotUser(u"ana"_s)};
    QVERIFY(sim.start(state));
    QVERIFY(install(folder, sim.port()));
    const CliRun run = runCli(folder, arguments);

    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, LoginRefused);
    QCOMPARE(run.out, QString());
    // The router is not contacted.
    QCOMPARE(sim.commands(), Commands());
    QCOMPARE(namesOf(sim.state().hotspotUsers), QStringList{u"ana"_s});
}

void RouterCommandsTest::operatorPasswordSources_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<std::optional<QByteArray>>("input");
    QTest::addColumn<QString>("environment"); // WIFITICKETER_OPERATOR_PASSWORD; null: not set
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err");

    const QStringList caixa = {u"--operator"_s, u"caixa"_s};
    const QStringList fromStdin = caixa + QStringList{u"--operator-password-stdin"_s};
    const QString warning = u"wifiticketer-cli: warning: --operator-password can be read by every user of "
                            "this machine (in the process list); give it with --operator-password-stdin or "
                            "in WIFITICKETER_OPERATOR_PASSWORD\n"_s;
    const std::optional<QByteArray> noInput;

    QTest::addRow("first line of standard input")
        << fromStdin << std::optional<QByteArray>("1234\nmore\n") << QString() << 0 << ScriptQuestion;
    QTest::addRow("line ended as on Windows")
        << fromStdin << std::optional<QByteArray>("1234\r\n") << QString() << 0 << ScriptQuestion;
    QTest::addRow("line without its end")
        << fromStdin << std::optional<QByteArray>("1234") << QString() << 0 << ScriptQuestion;
    QTest::addRow("wrong one on standard input")
        << fromStdin << std::optional<QByteArray>("4321\n") << QString() << 1 << LoginRefused;
    QTest::addRow("standard input empty")
        << fromStdin << std::optional<QByteArray>("") << QString() << 2
        << u"wifiticketer-cli: --operator-password-stdin found no line on standard input; pipe the password "
           "in, such as printf 'secret\\n' | wifiticketer-cli --operator NAME --operator-password-stdin "
           "profiles\n"_s;
    QTest::addRow("standard input before the environment")
        << fromStdin << std::optional<QByteArray>("1234\n") << u"4321"_s << 0 << ScriptQuestion;
    QTest::addRow("environment") << caixa << noInput << u"1234"_s << 0 << ScriptQuestion;
    QTest::addRow("wrong one in the environment") << caixa << noInput << u"4321"_s << 1 << LoginRefused;
    QTest::addRow("none: the empty password") << caixa << noInput << QString() << 1 << LoginRefused;
    QTest::addRow("command line still works, with a warning")
        << caixa + QStringList{u"--operator-password=1234"_s} << noInput << QString() << 0
        << warning + ScriptQuestion;
    QTest::addRow("command line before the environment")
        << caixa + QStringList{u"--operator-password=1234"_s} << noInput << u"4321"_s << 0
        << warning + ScriptQuestion;
    QTest::addRow("wrong one on the command line") << caixa + QStringList{u"--operator-password=4321"_s}
                                                   << noInput << QString() << 1 << warning + LoginRefused;
}

// The program user's password from standard input, the environment or, with
// a warning, the command line; the first two are not shown to other users.
void RouterCommandsTest::operatorPasswordSources()
{
    QFETCH(QStringList, arguments);
    QFETCH(std::optional<QByteArray>, input);
    QFETCH(QString, environment);
    QFETCH(int, exitCode);
    QFETCH(QString, err);

    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    QHash<QString, QString> variables;
    if (!environment.isNull())
        variables.insert(u"WIFITICKETER_OPERATOR_PASSWORD"_s, environment);
    const CliRun run = runCli(folder, arguments + QStringList{u"--no"_s, u"profiles"_s}, input, variables);

    QCOMPARE(run.err, err);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out.isEmpty(), exitCode != 0);
    if (exitCode != 0)
        QCOMPARE(sim.commands(), Commands());
}

void RouterCommandsTest::unreachableRouter_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addRow("profiles") << QStringList{u"profiles"_s};
    QTest::addRow("upload-script") << QStringList{u"upload-script"_s};
    QTest::addRow("remove") << QStringList{u"remove"_s, u"--user"_s, u"ana"_s};
}

void RouterCommandsTest::unreachableRouter()
{
    QFETCH(QStringList, command);

    TestFolder folder;
    QVERIFY(install(folder, 8728));
    const CliRun run = runCli(folder, Operator + QStringList{u"--router"_s, u"Outro"_s} + command);

    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err,
             u"Ocorreu um erro ao conectar ao roteador Mikrotik Outro.\nVerifique se digitou o IP e a "
             "porta API corretos.\n\nCertifique que o serviço API está habilitado no roteador.\n"_s);
    QCOMPARE(run.out, QString());
}

void RouterCommandsTest::uploadScript_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("interval");
    QTest::addRow("--interval 5m") << QStringList{u"--interval"_s, u"5m"_s} << false << u" 00:05:00"_s;
    QTest::addRow("--interval 1d2h") << QStringList{u"--interval"_s, u"1d2h"_s} << false << u"1d 02:00:00"_s;
    QTest::addRow("configured interval") << QStringList{} << false << u" 00:15:00"_s;
    // Forced: what is on the router is replaced without a question.
    QTest::addRow("replaces existing")
        << QStringList{u"--interval"_s, u"00:05:00"_s} << true << u" 00:05:00"_s;
}

void RouterCommandsTest::uploadScript()
{
    QFETCH(QStringList, options);
    QFETCH(bool, existing);
    QFETCH(QString, interval);

    TestFolder folder;
    SimProcess sim(folder);
    routersim::RouterState state = routersim::defaultRouterState();
    if (existing) {
        state.scripts = {{{}, u"wifiTicketer"_s, u":log info old"_s}};
        state.schedulers = {{{}, u"wifiTicketer"_s, u"wifiTicketer"_s, u"1d"_s}};
    }
    QVERIFY(sim.start(state));
    QVERIFY(install(folder, sim.port()));
    const CliRun run = runCli(folder, Operator + QStringList{u"upload-script"_s} + options);

    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, ScriptUploaded);
    QCOMPARE(run.out, QString());
    const Commands commands = sim.commands();
    // No reading of the router's information first.
    QCOMPARE(commands.value(0), (QStringList{u"/system/script/print"_s, u"?name=wifiTicketer"_s}));
    const QString verb = existing ? u"set"_s : u"add"_s;
    QCOMPARE(commands.value(2).value(0), u"/system/script/"_s + verb);
    QCOMPARE(commands.value(3).value(0), u"/system/scheduler/"_s + verb);
    QCOMPARE(commands.value(3).last(), u"=interval="_s + interval);
    const routersim::RouterState router = sim.state();
    QCOMPARE(router.scripts.size(), 1);
    QVERIFY(router.scripts[0].source.contains(u"/ip hotspot user remove $i"_s));
    QCOMPARE(router.schedulers.size(), 1);
    QCOMPARE(router.schedulers[0].interval, interval);
}

void RouterCommandsTest::uploadScriptRefused()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState(), true));
    QVERIFY(install(folder, sim.port()));
    const CliRun run = runCli(folder, Operator + QStringList{u"upload-script"_s, u"--interval"_s, u"5m"_s});

    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, u"Ocorreu um erro durante a transferência do script.\nResposta do router \"not enough "
                      "permissions (9)\".\n"_s);
    QCOMPARE(sim.state().scripts.size(), 0);
}

void RouterCommandsTest::remove_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("firstWords");
    QTest::addColumn<QStringList>("hotspotAfter");
    QTest::addColumn<QStringList>("userManagerAfter");

    const QStringList hotspot = {u"/ip/hotspot/user/print"_s, u"/ip/hotspot/user/remove"_s};
    const QStringList userManager = {u"/system/resource/print"_s, u"/tool/user-manager/user/print"_s,
                                     u"/tool/user-manager/user/remove"_s};
    // Both lists hold an "ana": the switch decides which one goes.
    QTest::addRow("hotspot") << QStringList{u"--user"_s, u"ana"_s} << 0 << hotspot << QStringList{u"bia"_s}
                             << QStringList{u"ana"_s, u"carla"_s};
    QTest::addRow("usermanager") << QStringList{u"--user"_s, u"ana"_s, u"--usermanager"_s} << 0 << userManager
                                 << QStringList{u"ana"_s, u"bia"_s} << QStringList{u"carla"_s};
    QTest::addRow("hotspot not found")
        << QStringList{u"--user"_s, u"carla"_s} << 1 << hotspot.mid(0, 1) << QStringList{u"ana"_s, u"bia"_s}
        << QStringList{u"ana"_s, u"carla"_s};
    QTest::addRow("usermanager not found")
        << QStringList{u"--user"_s, u"bia"_s, u"--usermanager"_s} << 1 << userManager.mid(0, 2)
        << QStringList{u"ana"_s, u"bia"_s} << QStringList{u"ana"_s, u"carla"_s};
}

void RouterCommandsTest::remove()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QStringList, firstWords);
    QFETCH(QStringList, hotspotAfter);
    QFETCH(QStringList, userManagerAfter);

    TestFolder folder;
    SimProcess sim(folder);
    routersim::RouterState state = routersim::defaultRouterState();
    state.hotspotUsers = {hotspotUser(u"ana"_s), hotspotUser(u"bia"_s)};
    state.userManagerUsers = {userManagerUser(u"ana"_s), userManagerUser(u"carla"_s)};
    QVERIFY(sim.start(state));
    QVERIFY(install(folder, sim.port()));
    const CliRun run = runCli(folder, Operator + QStringList{u"remove"_s} + options);

    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.err,
             exitCode == 0 ? QString() : u"Você não pode excluir o usuário. Usuário não encontrado.\n"_s);
    QStringList sent;
    for (const QStringList &command : sim.commands())
        sent.append(command.value(0));
    QCOMPARE(sent, firstWords);
    const routersim::RouterState router = sim.state();
    QCOMPARE(namesOf(router.hotspotUsers), hotspotAfter);
    QCOMPARE(namesOf(router.userManagerUsers), userManagerAfter);
}

void RouterCommandsTest::unknownRouter_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addRow("profiles") << QStringList{u"profiles"_s};
    QTest::addRow("upload-script") << QStringList{u"upload-script"_s};
    QTest::addRow("remove") << QStringList{u"remove"_s, u"--user"_s, u"ana"_s};
}

void RouterCommandsTest::unknownRouter()
{
    QFETCH(QStringList, command);

    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    // Names are matched exactly: "sim" is not "Sim".
    const CliRun run = runCli(folder, Operator + QStringList{u"--router"_s, u"sim"_s} + command);

    QCOMPARE(run.exitCode, 2);
    // The names it could have meant are listed.
    QCOMPARE(run.err, u"wifiticketer-cli: no router is named 'sim'; routers: 'Sim', 'Outro'\n"_s);
    QCOMPARE(run.out, QString());
    QCOMPARE(sim.commands(), Commands());
}

// A peer that answers "/login" with a data sentence is no router the client
// can log in to: the client's diagnostic goes to standard error with the
// operator's message, and standard output, which scripts read, stays empty.
void RouterCommandsTest::diagnosticsGoToStandardError()
{
    QTcpServer peer;
    QVERIFY(peer.listen(QHostAddress::LocalHost, 0));
    connect(&peer, &QTcpServer::newConnection, this, [&peer] {
        QTcpSocket *socket = peer.nextPendingConnection();
        connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            socket->readAll();
            socket->write(QByteArray("\x03!re\0", 5));
        });
    });
    TestFolder folder;
    QVERIFY(install(folder, peer.serverPort()));

    // The program runs while this thread answers for the peer.
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"WIFITICKETER_SETTINGS"_s, folder.settingsFile());
    env.insert(u"WIFITICKETER_DATA_DIR"_s, folder.dataFolder());
    env.insert(u"WIFITICKETER_API_TIMEOUT_MS"_s, u"5000"_s);
    env.insert(u"WIFITICKETER_OPERATOR_PASSWORD"_s, u"1234"_s);
    cli.setProcessEnvironment(env);
    QSignalSpy finished(&cli, &QProcess::finished);
    cli.start(QStringLiteral(WIFITICKETER_CLI_PATH), {u"--operator"_s, u"caixa"_s, u"profiles"_s});
    QVERIFY(finished.wait(30000));

    QCOMPARE(cli.exitCode(), 1);
    QCOMPARE(cli.readAllStandardOutput(), QByteArray());
    QCOMPARE(
        QString::fromUtf8(cli.readAllStandardError()),
        u"error.\nOcorreu um erro durante autentição no router 127.0.0.1 .\nVerifique o usuário e senha.\n"_s);
}

WIFITICKETER_TEST(RouterCommandsTest)
#include "routercommandstest.moc"
