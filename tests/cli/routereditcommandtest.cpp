#include "clirun.h"
#include "clisimulator.h"
#include "filebytes.h"
#include "recordbytes.h"
#include "testfolder.h"
#include "testmain.h"

#include "config/routersfile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString NotAllowed = u"Este usuário não está autorizado para acessar as configurações.\n\nEntre em "
                           "contato com o administrador para detalhes.\n"_s;
const QString LoginRefused =
    u"Nome de usuário ou senha inválido.\n\nPor padrão os campos Nome de usuário e senha são vazios.\n"_s;
const QString BadPort = u"Introduza uma porta API correta.\n"_s;

QList<RouterConfig> storedRouters(const TestFolder &folder)
{
    QByteArray bytes = folder.readDataFile(u"Routers.bin"_s);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QList<RouterConfig> routers;
    readRouters(buffer, routers);
    return routers;
}

// The two routers of installSetup() at the simulator port 18728.
RouterConfig simRouter()
{
    RouterConfig router;
    router.Name = u"Sim"_s;
    router.Address = u"127.0.0.1"_s;
    router.Port = u"18728"_s;
    router.ApiUser = u"admin"_s;
    router.ApiPassword = u"segredo"_s;
    router.UserManagerAdmin = u"admin"_s;
    return router;
}

RouterConfig shopRouter()
{
    RouterConfig router;
    router.Name = u"Loja"_s;
    router.Address = u"10.0.0.1"_s;
    router.Port = u"8729"_s;
    router.ApiUser = u"api"_s;
    router.ApiPassword = u"velha"_s;
    return router;
}

} // namespace

Q_DECLARE_METATYPE(RouterConfig)

class RouterEditCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addedRouterLogsInWithPipedPassword();
    void setChangesOnlyWhatIsGiven_data();
    void setChangesOnlyWhatIsGiven();
    void removeTakesOnlyThatRouter();
    void refused_data();
    void refused();
    void damagedFileIsKept_data();
    void damagedFileIsKept();
    void symbolicLinkIsNotWrittenThrough();
};

// A router added with its password on standard input is listed and logged in
// to with that password; a password set later replaces it.
void RouterEditCommandTest::addedRouterLogsInWithPipedPassword()
{
    TestFolder folder;
    SimProcess sim(folder);
    routersim::RouterState state = routersim::defaultRouterState();
    state.apiUsers = {{{}, u"admin"_s, u"duas palavras"_s}};
    QVERIFY(sim.start(state));
    QVERIFY(installSetup(folder, 18728));
    const QString port = QString::number(sim.port());

    const CliRun add =
        runCli(folder,
               Manager + QStringList{u"router"_s, u"add"_s, u"Filial"_s, u"--address"_s, u"127.0.0.1"_s,
                                     u"--port"_s, port, u"--api-user"_s, u"admin"_s, u"--password-stdin"_s,
                                     u"--usermanager"_s, u"0"_s},
               "duas palavras\nignored second line\n");
    QCOMPARE(add.err, QString());
    QCOMPARE(add.exitCode, 0);
    QCOMPARE(add.out, QString());
    // Routers.bin holds passwords: it stays readable by its owner only, and
    // the lock taken while it changed is gone.
    QCOMPARE(permissionBits(folder.dataFolder() + u"/Routers.bin"_s), 0600);
    QCOMPARE(QDir(folder.dataFolder()).entryList({u"*.lock"_s}, QDir::Files), QStringList());

    const CliRun listed = runCli(folder, {u"routers"_s});
    QCOMPARE(listed.out, u"Sim\t127.0.0.1\t18728\tadmin\tHS=1\tUM=1\tMAC=0\tadmin\n"
                         "Loja\t10.0.0.1\t8729\tapi\tHS=1\tUM=1\tMAC=0\t\n"
                         "Filial\t127.0.0.1\t%1\tadmin\tHS=1\tUM=0\tMAC=0\t\n"_s.arg(port));

    // The simulator takes "duas palavras" only: the login proves the password.
    const CliRun profiles =
        runCli(folder, Cashier + QStringList{u"--router"_s, u"Filial"_s, u"--no"_s, u"profiles"_s});
    QCOMPARE(profiles.exitCode, 0);
    QCOMPARE(profiles.out, u"HS\t3 horas\t 03:00:00\t03:00:00\t300\tR$ 3,00\tPadrão\n"
                           "HS\t30 dias\t30d\t30 dias \t4500\tR$ 45,00\tPadrão\n"_s);
    QCOMPARE(sim.sentences().value(0).value(0), u"/login"_s);

    const CliRun changed = runCli(
        folder, Manager + QStringList{u"router"_s, u"set"_s, u"Filial"_s, u"--password-stdin"_s}, "errada\n");
    QCOMPARE(changed.exitCode, 0);
    const CliRun refused =
        runCli(folder, Cashier + QStringList{u"--router"_s, u"Filial"_s, u"--no"_s, u"profiles"_s});
    QCOMPARE(refused.exitCode, 1);
    QCOMPARE(refused.err,
             u"Ocorreu um erro durante autentição no router 127.0.0.1 .\nVerifique o usuário e senha.\n"_s);
}

void RouterEditCommandTest::setChangesOnlyWhatIsGiven_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<RouterConfig>("expected");

    RouterConfig shop = shopRouter();
    shop.Port = u"9000"_s;
    QTest::addRow("port") << QStringList{u"--port"_s, u"9000"_s} << QByteArray() << shop;
    shop = shopRouter();
    shop.EnableHotSpotProfiles = false;
    shop.EnableUserManagerProfiles = false;
    shop.MacBinding = true;
    QTest::addRow("switches") << QStringList{u"--hotspot"_s,     u"0"_s, u"--usermanager"_s, u"0"_s,
                                             u"--mac-binding"_s, u"1"_s}
                              << QByteArray() << shop;
    shop = shopRouter();
    shop.Address = u"loja.example.net"_s;
    shop.ApiUser = u"gerente"_s;
    QTest::addRow("address and user")
        << QStringList{u"--address"_s, u"loja.example.net"_s, u"--api-user"_s, u"gerente"_s} << QByteArray()
        << shop;
    shop = shopRouter();
    shop.ApiPassword = u"nova"_s;
    QTest::addRow("password, line from Windows")
        << QStringList{u"--password-stdin"_s} << "nova\r\n"_ba << shop;
    shop = shopRouter();
    shop.ApiPassword = u"sem quebra"_s;
    QTest::addRow("password without line break")
        << QStringList{u"--password-stdin"_s} << "sem quebra"_ba << shop;
    shop = shopRouter();
    shop.ApiPassword = QString();
    QTest::addRow("empty password") << QStringList{u"--password-stdin"_s} << "\n"_ba << shop;
    // Standard input is read only for --password-stdin.
    shop = shopRouter();
    shop.Port = u"8728"_s;
    QTest::addRow("input without --password-stdin")
        << QStringList{u"--port"_s, u"8728"_s} << "intrusa\n"_ba << shop;
    // The longest text the file keeps.
    shop = shopRouter();
    shop.UserManagerAdmin = QString(99, u'a');
    QTest::addRow("admin of 99 characters")
        << QStringList{u"--usermanager-admin"_s, QString(99, u'a')} << QByteArray() << shop;
}

void RouterEditCommandTest::setChangesOnlyWhatIsGiven()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, input);
    QFETCH(RouterConfig, expected);

    TestFolder folder;
    QVERIFY(installSetup(folder, 18728));
    const CliRun run =
        runCli(folder, Manager + QStringList{u"router"_s, u"set"_s, u"Loja"_s} + options, input);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(storedRouters(folder), (QList<RouterConfig>{simRouter(), expected}));
}

void RouterEditCommandTest::removeTakesOnlyThatRouter()
{
    TestFolder folder;
    QVERIFY(installSetup(folder, 18728));
    const CliRun run = runCli(folder, Manager + QStringList{u"router"_s, u"remove"_s, u"Sim"_s});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(storedRouters(folder), QList<RouterConfig>{shopRouter()});
}

void RouterEditCommandTest::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QStringList add = Manager + QStringList{u"router"_s, u"add"_s};
    const QStringList set = Manager + QStringList{u"router"_s, u"set"_s};
    const QStringList address = {u"--address"_s, u"10.0.0.2"_s};
    QTest::addRow("name taken") << add + QStringList{u"Loja"_s} + address << QByteArray() << 2
                                << u"wifiticketer-cli: a router named 'Loja' exists already; change it with "
                                   "'wifiticketer-cli router set Loja'\n"_s;
    // Names are matched exactly, and the names there are are listed.
    const QString noLoja = u"wifiticketer-cli: no router is named 'loja'; routers: 'Sim', 'Loja'\n"_s;
    QTest::addRow("set, name in other case")
        << set + QStringList{u"loja"_s, u"--port"_s, u"1"_s} << QByteArray() << 2 << noLoja;
    QTest::addRow("remove, unknown name")
        << Manager + QStringList{u"router"_s, u"remove"_s, u"loja"_s} << QByteArray() << 2 << noLoja;
    QTest::addRow("port with a letter")
        << add + QStringList{u"Filial"_s, u"--port"_s, u"80a"_s} + address << QByteArray() << 2 << BadPort;
    QTest::addRow("port 0") << set + QStringList{u"Loja"_s, u"--port"_s, u"0"_s} << QByteArray() << 2
                            << BadPort;
    QTest::addRow("port 65536") << set + QStringList{u"Loja"_s, u"--port"_s, u"65536"_s} << QByteArray() << 2
                                << BadPort;
    QTest::addRow("port with a sign")
        << set + QStringList{u"Loja"_s, u"--port=+8728"_s} << QByteArray() << 2 << BadPort;
    QTest::addRow("empty port") << set + QStringList{u"Loja"_s, u"--port"_s, QString()} << QByteArray() << 2
                                << BadPort;
    QTest::addRow("no address") << add + QStringList{u"Filial"_s} << QByteArray() << 2
                                << u"Introduza o IP do roteador.\n"_s;
    QTest::addRow("address emptied") << set + QStringList{u"Loja"_s, u"--address"_s, QString()}
                                     << QByteArray() << 2 << u"Introduza o IP do roteador.\n"_s;
    QTest::addRow("name of 100 characters")
        << add + QStringList{QString(100, u'n')} + address << QByteArray() << 2
        << u"O campo \"Nome router\" aceita no máximo 99 caracteres.\n"_s;
    // Control characters would split the routers' listing: refused with the
    // field's name, wherever a name or an address is typed.
    const auto control = [](const QString &field) {
        return u"O campo \"%1\" não pode conter tabulações, quebras de linha nem outros caracteres de "
               "controle.\n"_s.arg(field);
    };
    QTest::addRow("tab in a new name")
        << add + QStringList{u"Fi\tlial"_s} + address << QByteArray() << 2 << control(u"Nome router"_s);
    QTest::addRow("line break in a new name")
        << add + QStringList{u"Filial\n"_s} + address << QByteArray() << 2 << control(u"Nome router"_s);
    QTest::addRow("C1 control in a new name")
        << add + QStringList{u"Filial\u0085"_s} + address << QByteArray() << 2 << control(u"Nome router"_s);
    QTest::addRow("line break in the address")
        << set + QStringList{u"Loja"_s, u"--address"_s, u"10.0.0.1\r\n"_s} << QByteArray() << 2
        << control(u"IP do router"_s);
    QTest::addRow("tab in the API user") << set + QStringList{u"Loja"_s, u"--api-user"_s, u"a\tpi"_s}
                                         << QByteArray() << 2 << control(u"Usuário API"_s);
    QTest::addRow("escape in the User Manager admin")
        << set + QStringList{u"Loja"_s, u"--usermanager-admin"_s, u"ad\x1bmin"_s} << QByteArray() << 2
        << control(u"Admin do user-manager"_s);
    QTest::addRow("password of 100 characters")
        << set + QStringList{u"Loja"_s, u"--password-stdin"_s} << QByteArray(100, 'p') + '\n'
        << 2 << u"O campo \"Senha\" aceita no máximo 99 caracteres.\n"_s;
    QTest::addRow("nothing on standard input")
        << set + QStringList{u"Loja"_s, u"--password-stdin"_s} << QByteArray() << 2
        << u"wifiticketer-cli: --password-stdin found no line on standard input; pipe the password in, such "
           "as printf 'secret\\n' | wifiticketer-cli router set 'Loja' --password-stdin\n"_s;
    // The routers are the setup's: a program user without access to it is refused.
    QTest::addRow("cashier") << Cashier + QStringList{u"router"_s, u"add"_s, u"Filial"_s} + address
                             << QByteArray() << 1 << NotAllowed;
    QTest::addRow("no operator") << QStringList{u"router"_s, u"remove"_s, u"Loja"_s} << QByteArray() << 1
                                 << LoginRefused;
}

// Nothing changes in Routers.bin, and the reason is one message.
void RouterEditCommandTest::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    TestFolder folder;
    QVERIFY(installSetup(folder, 18728));
    const QByteArray before = folder.readDataFile(u"Routers.bin"_s);
    const CliRun run = runCli(folder, arguments, input);
    QCOMPARE(run.err, message);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, QString());
    QCOMPARE(folder.readDataFile(u"Routers.bin"_s), before);
    QCOMPARE(QDir(folder.dataFolder()).entryList({u"*.lock"_s}, QDir::Files), QStringList());
}

void RouterEditCommandTest::damagedFileIsKept_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("damage");
    QTest::addColumn<bool>("readable"); // a router could be read before the damage

    const QStringList add =
        Manager + QStringList{u"router"_s, u"add"_s, u"Filial"_s, u"--address"_s, u"10.0.0.2"_s};
    const QStringList set = Manager + QStringList{u"router"_s, u"set"_s, u"Sim"_s, u"--port"_s, u"9000"_s};
    const QStringList remove = Manager + QStringList{u"router"_s, u"remove"_s, u"Sim"_s};
    QTest::addRow("add, second router's size broken") << add << 0 << true;
    QTest::addRow("set, second router cut") << set << 1 << true;
    QTest::addRow("remove, bytes after the routers") << remove << 2 << true;
    QTest::addRow("add, a router record of another size") << add << 3 << true;
    QTest::addRow("remove, first size broken") << remove << 4 << false;
}

// A Routers.bin that does not read whole is never rewritten with what could
// be read: the command says so and changes nothing.
void RouterEditCommandTest::damagedFileIsKept()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, damage);
    QFETCH(bool, readable);

    TestFolder folder;
    QVERIFY(installSetup(folder, 18728));
    const QByteArray whole = folder.readDataFile(u"Routers.bin"_s);
    QCOMPARE(whole.size(), 2 * 1420);
    const QList<QByteArray> damaged = {withU32(whole, 1420, 0x00100000), whole.left(2000),
                                       whole + "\0\0\x01"_ba, withU32(whole, 1420, 1416),
                                       withU32(whole, 0, 0xFFFFFFFF)};
    const QByteArray bytes = damaged[damage];
    folder.writeDataFile(u"Routers.bin"_s, bytes);

    const CliRun run = runCli(folder, arguments);
    const QString path = folder.dataFolder() + u"/Routers.bin"_s;
    QCOMPARE(
        run.err,
        readable
            ? u"A lista de roteadores não pôde ser lida por inteiro: o arquivo %1 está danificado.\nEle "
              "foi mantido como está e nada será gravado nele; corrija-o ou mova-o para outro lugar e "
              "inicie o programa novamente.\n"_s.arg(path)
            : u"Não foi possível ler a lista de roteadores.\nO arquivo %1 foi mantido como está.\n"_s.arg(
                  path));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QString());
    QCOMPARE(folder.readDataFile(u"Routers.bin"_s), bytes);
    QCOMPARE(QDir(folder.dataFolder()).entryList({u"Routers.bin*"_s}, QDir::Files | QDir::Hidden),
             QStringList{u"Routers.bin"_s});
}

// Routers.bin as a link to a file elsewhere: the routers are read through it,
// but a change is refused with the link named, and the file it points to keeps
// its bytes and mode.
void RouterEditCommandTest::symbolicLinkIsNotWrittenThrough()
{
    TestFolder folder;
    QVERIFY(installSetup(folder, 18728));
    const QString link = folder.dataFolder() + u"/Routers.bin"_s;
    const QString target = folder.path() + u"/Routers-elsewhere.bin"_s;
    QVERIFY(QFile::rename(link, target));
    QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QVERIFY(QFile::link(target, link));
    const QByteArray before = readFile(target);

    const CliRun run =
        runCli(folder, Manager + QStringList{u"router"_s, u"set"_s, u"Loja"_s, u"--port"_s, u"9000"_s});
    QCOMPARE(run.err,
             u"Ocorreu um erro inesperado salvar as definições do router.\nO arquivo %1 é um link "
             "simbólico e não foi alterado: o programa não grava através de links. Coloque o próprio "
             "arquivo no lugar do link.\n"_s.arg(link));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(readFile(target), before);
    QCOMPARE(permissionBits(target), 0644);
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);

    const CliRun listed = runCli(folder, {u"routers"_s});
    QCOMPARE(listed.out, u"Sim\t127.0.0.1\t18728\tadmin\tHS=1\tUM=1\tMAC=0\tadmin\n"
                         "Loja\t10.0.0.1\t8729\tapi\tHS=1\tUM=1\tMAC=0\t\n"_s);
}

WIFITICKETER_TEST(RouterEditCommandTest)
#include "routereditcommandtest.moc"
