#include "clirun.h"
#include "clisimulator.h"
#include "filebytes.h"
#include "recordbytes.h"
#include "testfolder.h"
#include "testmain.h"

#include "config/hotspotprofilesfile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString NoValidity = u"Introduza um período de validade correta.\n"_s;
const QString NoPrice = u"Introduza um preço correto.\n"_s;

QList<HotSpotProfile> storedProfiles(const TestFolder &folder)
{
    QByteArray bytes = folder.readDataFile(u"HotSpotProfiles.bin"_s);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QList<HotSpotProfile> profiles;
    readHotSpotProfiles(buffer, profiles);
    return profiles;
}

// The two profiles of installSetup().
HotSpotProfile threeHours()
{
    HotSpotProfile profile;
    profile.Name = u"3 horas"_s;
    profile.Validity = 10800;
    profile.RouterProfile = u"default"_s;
    profile.Price = 300;
    return profile;
}

HotSpotProfile thirtyDays()
{
    HotSpotProfile profile;
    profile.Name = u"30 dias"_s;
    profile.Validity = 2592000;
    profile.LimitUptime = 36000;
    profile.RouterProfile = u"default"_s;
    profile.Server = u"hs1"_s;
    profile.LimitBytesTotal = u"1000000000"_s;
    profile.Price = 4500;
    return profile;
}

} // namespace

Q_DECLARE_METATYPE(HotSpotProfile)

class HotSpotProfileCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addedProfileIsSold();
    void setChangesOnlyWhatIsGiven_data();
    void setChangesOnlyWhatIsGiven();
    void removeTakesOnlyThatProfile();
    void refused_data();
    void refused();
    void damagedFileIsKept_data();
    void damagedFileIsKept();
    void symbolicLinkIsNotWrittenThrough();
};

// A profile added on the command line is stored with every value given and
// is sold on the router.
void HotSpotProfileCommandTest::addedProfileIsSold()
{
    TestFolder folder;
    SimProcess sim(folder);
    routersim::RouterState state = routersim::defaultRouterState();
    state.apiUsers = {{{}, u"admin"_s, u"segredo"_s}};
    QVERIFY(sim.start(state));
    QVERIFY(installSetup(folder, sim.port()));

    const CliRun add = runCli(
        folder, Manager + QStringList{u"hotspot-profile"_s, u"add"_s, u"2 horas"_s, u"--validity"_s, u"2h"_s,
                                      u"--router-profile"_s, u"default"_s, u"--price"_s, u"2,50"_s,
                                      u"--uptime"_s, u"1h30m"_s, u"--server"_s, u"hs1"_s, u"--limit-in"_s,
                                      u"1000"_s, u"--limit-out"_s, u"2000"_s, u"--limit-total"_s, u"3000"_s});
    QCOMPARE(add.err, QString());
    QCOMPARE(add.exitCode, 0);
    QCOMPARE(add.out, QString());
    HotSpotProfile added;
    added.Name = u"2 horas"_s;
    added.Validity = 7200;
    added.LimitUptime = 5400;
    added.RouterProfile = u"default"_s;
    added.Server = u"hs1"_s;
    added.LimitBytesIn = u"1000"_s;
    added.LimitBytesOut = u"2000"_s;
    added.LimitBytesTotal = u"3000"_s;
    added.Price = 250;
    QCOMPARE(storedProfiles(folder), (QList<HotSpotProfile>{threeHours(), thirtyDays(), added}));
    QCOMPARE(QDir(folder.dataFolder()).entryList({u"*.lock"_s}, QDir::Files), QStringList());

    // Sold in order of validity with the router's User Manager profiles.
    const CliRun profiles = runCli(folder, Cashier + QStringList{u"--no"_s, u"profiles"_s});
    QCOMPARE(profiles.exitCode, 0);
    QCOMPARE(profiles.out, u"HS\t2 horas\t 02:00:00\t02:00:00\t250\tR$ 2,50\tPadrão\n"
                           "HS\t3 horas\t 03:00:00\t03:00:00\t300\tR$ 3,00\tPadrão\n"
                           "UM\t1dia\t1d\t1 dia \t500\tR$ 5,00\tPadrão\n"
                           "UM\t7dias\t7d\t7 dias \t2500\tR$ 25,00\tPadrão\n"
                           "HS\t30 dias\t30d\t30 dias \t4500\tR$ 45,00\tPadrão\n"_s);
}

void HotSpotProfileCommandTest::setChangesOnlyWhatIsGiven_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<HotSpotProfile>("expected");

    // Prices: either separator before the cents, whatever the locale.
    for (const auto &[typed, hundredths] :
         {std::pair{u"12.5"_s, 1250}, std::pair{u"12,5"_s, 1250}, std::pair{u"7"_s, 700},
          std::pair{u"1.234,56"_s, 123456}, std::pair{u"0,05"_s, 5}, std::pair{QString(), 0}}) {
        HotSpotProfile profile = thirtyDays();
        profile.Price = hundredths;
        QTest::addRow("price '%s'", qPrintable(typed)) << QStringList{u"--price"_s, typed} << profile;
    }
    HotSpotProfile profile = thirtyDays();
    profile.Validity = 604800 + 2 * 86400 + 3600;
    QTest::addRow("validity") << QStringList{u"--validity"_s, u"1w2d 01:00:00"_s} << profile;
    profile = thirtyDays();
    profile.LimitUptime = 0;
    QTest::addRow("uptime 0: no limit") << QStringList{u"--uptime"_s, u"0"_s} << profile;
    profile = thirtyDays();
    profile.Server = QString();
    profile.LimitBytesTotal = QString();
    QTest::addRow("every server, no byte limit")
        << QStringList{u"--server"_s, QString(), u"--limit-total"_s, QString()} << profile;
    profile = thirtyDays();
    profile.RouterProfile = u"vip"_s;
    profile.LimitBytesIn = u"500000"_s;
    QTest::addRow("router profile and bytes in")
        << QStringList{u"--router-profile"_s, u"vip"_s, u"--limit-in"_s, u"500000"_s} << profile;
}

void HotSpotProfileCommandTest::setChangesOnlyWhatIsGiven()
{
    QFETCH(QStringList, options);
    QFETCH(HotSpotProfile, expected);

    TestFolder folder;
    QVERIFY(installSetup(folder, 18728));
    const CliRun run =
        runCli(folder, Manager + QStringList{u"hotspot-profile"_s, u"set"_s, u"30 dias"_s} + options);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(storedProfiles(folder), (QList<HotSpotProfile>{threeHours(), expected}));
}

void HotSpotProfileCommandTest::removeTakesOnlyThatProfile()
{
    TestFolder folder;
    QVERIFY(installSetup(folder, 18728));
    const CliRun run = runCli(folder, Manager + QStringList{u"hotspot-profile"_s, u"remove"_s, u"3 horas"_s});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(storedProfiles(folder), QList<HotSpotProfile>{thirtyDays()});
}

void HotSpotProfileCommandTest::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QStringList add = Manager + QStringList{u"hotspot-profile"_s, u"add"_s, u"1 hora"_s,
                                                  u"--router-profile"_s, u"default"_s};
    const QStringList set = Manager + QStringList{u"hotspot-profile"_s, u"set"_s, u"3 horas"_s};
    QTest::addRow("name taken") << Manager +
                                       QStringList{u"hotspot-profile"_s, u"add"_s, u"3 horas"_s,
                                                   u"--validity"_s,      u"1h"_s,  u"--router-profile"_s,
                                                   u"default"_s}
                                << 2
                                << u"wifiticketer-cli: a profile named '3 horas' exists already; change it "
                                   "with 'wifiticketer-cli hotspot-profile set 3 horas'\n"_s;
    QTest::addRow("set, name in other case")
        << Manager + QStringList{u"hotspot-profile"_s, u"set"_s, u"3 Horas"_s, u"--price"_s, u"1"_s} << 2
        << u"wifiticketer-cli: no hotspot profile is named '3 Horas'; profiles: '3 horas', '30 dias'\n"_s;
    QTest::addRow("validity 0") << add + QStringList{u"--validity"_s, u"0"_s} << 2 << NoValidity;
    QTest::addRow("validity without unit") << add + QStringList{u"--validity"_s, u"12"_s} << 2 << NoValidity;
    QTest::addRow("validity of words") << set + QStringList{u"--validity"_s, u"sempre"_s} << 2 << NoValidity;
    QTest::addRow("price of words") << set + QStringList{u"--price"_s, u"três"_s} << 2 << NoPrice;
    // Values read whole and within bounds, or refused; nothing is guessed.
    QTest::addRow("negative price") << set + QStringList{u"--price"_s, u"-1"_s} << 2 << NoPrice;
    QTest::addRow("negative price with cents") << set + QStringList{u"--price=-1,50"_s} << 2 << NoPrice;
    QTest::addRow("price 1,234: a thousand or 1,23?")
        << set + QStringList{u"--price"_s, u"1,234"_s} << 2 << NoPrice;
    QTest::addRow("price with a third decimal")
        << set + QStringList{u"--price"_s, u"3.005"_s} << 2 << NoPrice;
    QTest::addRow("text after the price") << set + QStringList{u"--price"_s, u"3,00 reais"_s} << 2 << NoPrice;
    QTest::addRow("negative validity") << set + QStringList{u"--validity"_s, u"-1h"_s} << 2 << NoValidity;
    QTest::addRow("validity with hours without unit")
        << set + QStringList{u"--validity"_s, u"1d 12"_s} << 2 << NoValidity;
    const QString tenYears = u"O período de validade pode ser de no máximo 10 anos.\n"_s;
    QTest::addRow("validity of 99999999 weeks")
        << set + QStringList{u"--validity"_s, u"99999999w"_s} << 2 << tenYears;
    QTest::addRow("validity of ten years and a day")
        << add + QStringList{u"--validity"_s, u"3654d"_s} << 2 << tenYears;
    QTest::addRow("connection time of 99999999 weeks")
        << set + QStringList{u"--uptime"_s, u"99999999w"_s} << 2
        << u"O limite de tempo de conexão pode ser de no máximo 10 anos.\n"_s;
    const auto control = [](const QString &field) {
        return u"O campo \"%1\" não pode conter tabulações, quebras de linha nem outros caracteres de "
               "controle.\n"_s.arg(field);
    };
    QTest::addRow("tab in a new name")
        << Manager + QStringList{u"hotspot-profile"_s,  u"add"_s,    u"1\thora"_s, u"--validity"_s, u"1h"_s,
                                 u"--router-profile"_s, u"default"_s}
        << 2 << control(u"Nome do perfil"_s);
    QTest::addRow("line break in a new name")
        << Manager + QStringList{u"hotspot-profile"_s,  u"add"_s,    u"1 hora\n"_s, u"--validity"_s, u"1h"_s,
                                 u"--router-profile"_s, u"default"_s}
        << 2 << control(u"Nome do perfil"_s);
    QTest::addRow("line break in the server")
        << set + QStringList{u"--server"_s, u"hs1\nhs2"_s} << 2 << control(u"Servidor Hotspot"_s);
    QTest::addRow("price beyond 32 bits")
        << set + QStringList{u"--price"_s, u"99999999999"_s} << 2 << NoPrice;
    // The editor's order: the validity is told first.
    QTest::addRow("validity and price")
        << add + QStringList{u"--validity"_s, u"0"_s, u"--price"_s, u"x"_s} << 2 << NoValidity;
    QTest::addRow("router profile of 100 characters")
        << set + QStringList{u"--router-profile"_s, QString(100, u'p')} << 2
        << u"O campo \"Perfil de usuário Mikrotik\" aceita no máximo 99 caracteres.\n"_s;
    QTest::addRow("name of 100 characters")
        << Manager + QStringList{u"hotspot-profile"_s, u"add"_s, QString(100, u'n'),
                                 u"--validity"_s,      u"1h"_s,  u"--router-profile"_s,
                                 u"default"_s}
        << 2 << u"O campo \"Nome do perfil\" aceita no máximo 99 caracteres.\n"_s;
    QTest::addRow("cashier")
        << Cashier + QStringList{u"hotspot-profile"_s, u"remove"_s, u"3 horas"_s} << 1
        << u"Este usuário não está autorizado para acessar as configurações.\n\nEntre em "
           "contato com o administrador para detalhes.\n"_s;
}

// Nothing changes in HotSpotProfiles.bin, and the reason is one message.
void HotSpotProfileCommandTest::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    TestFolder folder;
    QVERIFY(installSetup(folder, 18728));
    const QByteArray before = folder.readDataFile(u"HotSpotProfiles.bin"_s);
    const CliRun run = runCli(folder, arguments);
    QCOMPARE(run.err, message);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, QString());
    QCOMPARE(folder.readDataFile(u"HotSpotProfiles.bin"_s), before);
}

void HotSpotProfileCommandTest::damagedFileIsKept_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("damage");

    const QStringList add =
        Manager + QStringList{u"hotspot-profile"_s,  u"add"_s,    u"2 horas"_s, u"--validity"_s, u"2h"_s,
                              u"--router-profile"_s, u"default"_s};
    const QStringList set =
        Manager + QStringList{u"hotspot-profile"_s, u"set"_s, u"3 horas"_s, u"--price"_s, u"3,50"_s};
    const QStringList remove = Manager + QStringList{u"hotspot-profile"_s, u"remove"_s, u"3 horas"_s};
    QTest::addRow("add, second profile cut in half") << add << 0;
    QTest::addRow("add, the only profile cut in half") << add << 1;
    QTest::addRow("set, second profile's size broken") << set << 2;
    QTest::addRow("remove, a byte after the profiles") << remove << 3;
    QTest::addRow("set, type 3 of a type 1's size") << set << 4;
}

// A HotSpotProfiles.bin that does not read whole is never rewritten with what
// could be read: the command says so and changes nothing.
void HotSpotProfileCommandTest::damagedFileIsKept()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, damage);

    TestFolder folder;
    QVERIFY(installSetup(folder, 18728));
    const QByteArray whole = folder.readDataFile(u"HotSpotProfiles.bin"_s);
    QCOMPARE(whole.size(), 2 * 1228);
    const QList<QByteArray> damaged = {whole.left(1228 + 614), whole.left(614), withU32(whole, 1228, 0x10000),
                                       whole + "\0"_ba, withU32(whole, 1228, 528)};
    const QByteArray bytes = damaged[damage];
    folder.writeDataFile(u"HotSpotProfiles.bin"_s, bytes);

    const CliRun run = runCli(folder, arguments);
    QCOMPARE(run.err,
             u"A lista de perfis do HotSpot não pôde ser lida por inteiro: o arquivo %1 está "
             "danificado.\nEle foi mantido como está e nada será gravado nele; corrija-o ou mova-o para "
             "outro lugar e inicie o programa novamente.\n"_s.arg(folder.dataFolder() +
                                                                  u"/HotSpotProfiles.bin"_s));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QString());
    QCOMPARE(folder.readDataFile(u"HotSpotProfiles.bin"_s), bytes);
    QCOMPARE(QDir(folder.dataFolder()).entryList({u"HotSpotProfiles.bin*"_s}, QDir::Files | QDir::Hidden),
             QStringList{u"HotSpotProfiles.bin"_s});
}

// HotSpotProfiles.bin as a link to a file elsewhere: a change is refused with
// the link named, and the file it points to keeps its bytes and mode.
void HotSpotProfileCommandTest::symbolicLinkIsNotWrittenThrough()
{
    TestFolder folder;
    QVERIFY(installSetup(folder, 18728));
    const QString link = folder.dataFolder() + u"/HotSpotProfiles.bin"_s;
    const QString target = folder.path() + u"/profiles-elsewhere.bin"_s;
    QVERIFY(QFile::rename(link, target));
    QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QVERIFY(QFile::link(target, link));
    const QByteArray before = readFile(target);

    const CliRun run = runCli(folder, Manager + QStringList{u"hotspot-profile"_s, u"remove"_s, u"30 dias"_s});
    QCOMPARE(run.err,
             u"Um erro desconhecido ocorreu enquanto era salvo as definições de perfil do HotSpot.\nO "
             "arquivo %1 é um link simbólico e não foi alterado: o programa não grava através de links. "
             "Coloque o próprio arquivo no lugar do link.\n"_s.arg(link));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(readFile(target), before);
    QCOMPARE(permissionBits(target), 0644);
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
}

WIFITICKETER_TEST(HotSpotProfileCommandTest)
#include "hotspotprofilecommandtest.moc"
