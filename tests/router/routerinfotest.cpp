#include "profilenames.h"
#include "recordbuilders.h"
#include "routerharness.h"
#include "testmain.h"

#include "router/expirationscript.h"
#include "router/routerinfo.h"
#include "session/routerlogin.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList VersionPrint = {u"/system/resource/print"_s};
const QStringList ScriptPrint = {u"/system/script/print"_s, u"?name=wifiTicketer"_s};
const QStringList SchedulerPrint = {u"/system/scheduler/print"_s, u"?name=wifiTicketer"_s};

const QString ScriptQuestion =
    u"Ao criar usuários do HotSpot, o wifiTicketer necessita fazer upload de um script para controlar a "
    u"expiração do usuário.\nVocê deseja transferir esse script para o roteador?"_s;

// "name|price|validity|owner" as the router lists it; an empty part is a
// word the router leaves out.
routersim::UserManagerProfile umProfile(const QString &encoded)
{
    const QStringList parts = encoded.split(u'|');
    routersim::UserManagerProfile profile;
    profile.name = parts.value(0);
    profile.price = parts.value(1);
    profile.validity = parts.value(2);
    profile.owner = parts.value(3);
    return profile;
}

routersim::UserManagerCredit umCredit(const QString &encoded)
{
    const routersim::UserManagerProfile p = umProfile(encoded);
    return {{}, p.name, p.price, p.validity, p.owner};
}

// The profile list as "name|price|validity", in list order.
QStringList listed(const ProfileList &profiles)
{
    QStringList out;
    for (const auto &profile : profiles)
        out.append(u"%1|%2|%3"_s.arg(profile->Name).arg(profile->Price).arg(profile->Validity));
    return out;
}

routersim::RouterState routerWith(const QString &version,
                                  const QStringList &profiles = {u"1dia|5.00|1d|admin"_s})
{
    routersim::RouterState router = routersim::defaultRouterState();
    router.version = version;
    router.userManagerProfiles.clear();
    for (const QString &profile : profiles)
        router.userManagerProfiles.append(umProfile(profile));
    return router;
}

QString connectionMessage(const QString &routerName)
{
    return u"Ocorreu um erro ao conectar ao roteador Mikrotik %1.\nVerifique se digitou o IP e a porta API "
           u"corretos.\n\nCertifique que o serviço API está habilitado no roteador."_s.arg(routerName);
}

} // namespace

class RouterInfoTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readVersion_data();
    void readVersion();
    void userManagerProfiles_data();
    void userManagerProfiles();
    void prices_data();
    void prices();
    void customerLookup_data();
    void customerLookup();
    void profileSources_data();
    void profileSources();
    void scriptOfferedAtStartUp();
    void sessionNotOpened_data();
    void sessionNotOpened();
    void noCurrentRouter();
    void hotSpotNames();
    void hotSpotNamesWithoutHotSpotRouter();
    void hotSpotNamesStopsAtUnreachableRouter();
};

void RouterInfoTest::readVersion_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addRow("6.48.6 (stable)") << u"6.48.6 (stable)"_s << 6 << 48;
    QTest::addRow("7.12") << u"7.12"_s << 7 << 12;
    QTest::addRow("7.12rc1 (testing)") << u"7.12rc1 (testing)"_s << 7 << 12;
    QTest::addRow("6.49beta54") << u"6.49beta54"_s << 6 << 49;
    // Without a "." the minor version stays what it was.
    QTest::addRow("7 without a dot") << u"7"_s << 7 << 99;
}

void RouterInfoTest::readVersion()
{
    QFETCH(QString, version);
    QFETCH(int, major);
    QFETCH(int, minor);
    RouterHarness h(routerWith(version));
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    RouterInfo info{1, 99, u"dono"_s};
    readRouterVersion(*h.connection.transport, info);
    h.closeSession();
    QCOMPARE(info.Major, major);
    QCOMPARE(info.Minor, minor);
    QCOMPARE(info.Customer, u"dono"_s);
    QCOMPARE(h.commands(), QList<QStringList>{VersionPrint});
}

void RouterInfoTest::userManagerProfiles_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QStringList>("profiles"); // credits on RouterOS 4
    QTest::addColumn<QString>("admin");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("expected");

    // The owner is compared ignoring case with the trimmed admin; profiles
    // without an owner are everyone's, profiles without a name are skipped.
    QTest::addRow("RouterOS 6 profiles of the customer")
        << u"6.48.6 (stable)"_s
        << QStringList{u"1dia|5.00|1d|admin"_s, u"7dias|25.00|7d|Admin"_s, u"vip|9.00|1d|outro"_s,
                       u"livre|1.00|2h|"_s,     u"|3.00|1d|admin"_s,       u"semprazo|2.00||ADMIN"_s}
        << u" admin "_s << u"/tool/user-manager/profile/print"_s
        << QStringList{u"semprazo|200|"_s, u"livre|100|2h"_s, u"1dia|500|1d"_s, u"7dias|2500|7d"_s};
    // Equal validities keep the router's order.
    QTest::addRow("validity order") << u"6.48.6 (stable)"_s
                                    << QStringList{u"b|1.00|1d|"_s, u"mes|1.00|30d|"_s, u"a|1.00|24h|"_s,
                                                   u"hora|1.00|1h|"_s, u"c|1.00|1d 00:00:00|"_s}
                                    << u"admin"_s << u"/tool/user-manager/profile/print"_s
                                    << QStringList{u"hora|100|1h"_s, u"b|100|1d"_s, u"a|100|24h"_s,
                                                   u"c|100|1d 00:00:00"_s, u"mes|100|30d"_s};
    QTest::addRow("RouterOS 4 credits")
        << u"4.17"_s << QStringList{u"c1h|1500|1h|admin"_s, u"c1d|3000|1d|ADMIN"_s, u"alheio|100|1h|outro"_s}
        << u"admin"_s << u"/tool/user-manager/credit/print"_s
        << QStringList{u"c1h|1500|1h"_s, u"c1d|3000|1d"_s};
    QTest::addRow("RouterOS 7") << u"7.12"_s
                                << QStringList{u"mês|50.5|30d|admin"_s, u"dia|5|1d|"_s, u"x|1|1d|outro"_s}
                                << u"admin"_s << u"/user-manager/profile/print"_s
                                << QStringList{u"dia|500|1d"_s, u"mês|5050|30d"_s};
    QTest::addRow("RouterOS 8 like 7") << u"8.1"_s << QStringList{u"dia|5|1d|"_s} << u"admin"_s
                                       << u"/user-manager/profile/print"_s << QStringList{u"dia|500|1d"_s};
}

void RouterInfoTest::userManagerProfiles()
{
    QFETCH(QString, version);
    QFETCH(QStringList, profiles);
    QFETCH(QString, admin);
    QFETCH(QString, command);
    QFETCH(QStringList, expected);
    routersim::RouterState router = routerWith(version, profiles);
    if (version.startsWith(u'4')) {
        router.userManagerProfiles.clear();
        for (const QString &credit : profiles)
            router.userManagerCredits.append(umCredit(credit));
    }
    RouterHarness h(router);
    QVERIFY(h.start());
    h.state.routers[0].EnableHotSpotProfiles = false;
    h.state.routers[0].UserManagerAdmin = admin;

    QVERIFY(readCurrentRouterInformation(h.state, h.interaction));
    QCOMPARE(listed(h.state.profiles), expected);
    QCOMPARE(h.state.routerInfo.Customer, u"admin"_s);
    QCOMPARE(h.commands(), (QList<QStringList>{VersionPrint, {command}}));
    QCOMPARE(h.sent().last(), QStringList{u"/quit"_s});
    QVERIFY(h.interaction.events.isEmpty());
    for (const auto &profile : h.state.profiles)
        QVERIFY(!profile->HotSpot);
}

void RouterInfoTest::prices_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("price"); // empty: no price word
    QTest::addColumn<int>("expected");
    QTest::addRow("6.17 integer") << u"6.17"_s << u"1000"_s << 1000;
    QTest::addRow("6.17 reads digits only") << u"6.17"_s << u"12.50"_s << 12;
    QTest::addRow("5.25 integer") << u"5.25"_s << u"250"_s << 250;
    QTest::addRow("6.18 10.00") << u"6.18"_s << u"10.00"_s << 1000;
    QTest::addRow("6.18 10") << u"6.18"_s << u"10"_s << 1000;
    QTest::addRow("6.18 10.5") << u"6.18"_s << u"10.5"_s << 1050;
    QTest::addRow("6.18 10.05") << u"6.18"_s << u"10.05"_s << 1005;
    // Digits past the hundredths are below what a price can hold.
    QTest::addRow("6.18 10.500") << u"6.18"_s << u"10.500"_s << 1050;
    QTest::addRow("6.48 0.99") << u"6.48.6 (stable)"_s << u"0.99"_s << 99;
    QTest::addRow("7.1 12.3") << u"7.1"_s << u"12.3"_s << 1230;
    QTest::addRow("no price") << u"6.48.6 (stable)"_s << QString() << 0;
}

void RouterInfoTest::prices()
{
    QFETCH(QString, version);
    QFETCH(QString, price);
    QFETCH(int, expected);
    RouterHarness h(routerWith(version, {u"p|"_s + price + u"|1d|"_s}));
    QVERIFY(h.start());
    h.state.routers[0].EnableHotSpotProfiles = false;
    h.state.routers[0].UserManagerAdmin = u"admin"_s;
    QVERIFY(readCurrentRouterInformation(h.state, h.interaction));
    QCOMPARE(listed(h.state.profiles), QStringList{u"p|%1|1d"_s.arg(expected)});
}

void RouterInfoTest::customerLookup_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QStringList>("customers");
    QTest::addColumn<QString>("admin");
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QList<QStringList>>("commands");

    const QList<QStringList> withLookup = {
        VersionPrint, {u"/tool/user-manager/profile/print"_s}, {u"/tool/user-manager/customer/print"_s}};
    QTest::addRow("RouterOS 6 takes the first customer")
        << u"6.48.6 (stable)"_s << QStringList{u"dono"_s, u"outro"_s} << QString() << u"dono"_s << withLookup;
    QTest::addRow("blank admin, one customer")
        << u"6.48.6 (stable)"_s << QStringList{u"dono"_s} << u"  "_s << u"dono"_s << withLookup;
    QTest::addRow("RouterOS 6 without customers")
        << u"6.48.6 (stable)"_s << QStringList() << QString() << QString() << withLookup;
    QTest::addRow("RouterOS 7 stays empty")
        << u"7.12"_s << QStringList{u"dono"_s} << QString() << QString()
        << QList<QStringList>{VersionPrint, {u"/user-manager/profile/print"_s}};
}

void RouterInfoTest::customerLookup()
{
    QFETCH(QString, version);
    QFETCH(QStringList, customers);
    QFETCH(QString, admin);
    QFETCH(QString, customer);
    QFETCH(QList<QStringList>, commands);
    routersim::RouterState router = routerWith(version, {u"1dia|5|1d|admin"_s, u"7dias|25|7d|outro"_s});
    router.customers.clear();
    for (const QString &login : customers)
        router.customers.append({{}, login});
    RouterHarness h(router);
    QVERIFY(h.start());
    h.state.routers[0].EnableHotSpotProfiles = false;
    h.state.routers[0].UserManagerAdmin = admin;
    h.state.routerInfo.Customer = u"antigo"_s;

    QVERIFY(readCurrentRouterInformation(h.state, h.interaction));
    QCOMPARE(h.state.routerInfo.Customer, customer);
    QCOMPARE(h.commands(), commands);
    // The profiles were listed before a customer was known: no owner filter.
    QCOMPARE(profileNames(h.state.profiles), (QStringList{u"1dia"_s, u"7dias"_s}));
}

void RouterInfoTest::profileSources_data()
{
    QTest::addColumn<bool>("hotSpotFlag");
    QTest::addColumn<bool>("userManagerFlag");
    QTest::addColumn<bool>("hotSpotProfiles");
    QTest::addColumn<bool>("scriptInPlace");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<QStringList>>("commands");
    QTest::addColumn<bool>("asked");

    const QStringList umPrint = {u"/tool/user-manager/profile/print"_s};
    QTest::addRow("both off") << false << false << true << false << QStringList()
                              << QList<QStringList>{VersionPrint} << false;
    QTest::addRow("hotspot only") << true << false << true << false
                                  << QStringList{u"2 horas"_s, u"1 semana"_s}
                                  << QList<QStringList>{VersionPrint, ScriptPrint, SchedulerPrint} << true;
    QTest::addRow("hotspot flag without hotspot profiles")
        << true << true << false << false << QStringList{u"1dia"_s, u"7dias"_s}
        << QList<QStringList>{VersionPrint, umPrint} << false;
    QTest::addRow("hotspot profiles on a router without the flag")
        << false << true << true << false << QStringList{u"1dia"_s, u"7dias"_s}
        << QList<QStringList>{VersionPrint, umPrint} << false;
    QTest::addRow("both, script in place")
        << true << true << true << true << QStringList{u"2 horas"_s, u"1dia"_s, u"1 semana"_s, u"7dias"_s}
        << QList<QStringList>{VersionPrint, umPrint, ScriptPrint, SchedulerPrint} << false;
}

void RouterInfoTest::profileSources()
{
    QFETCH(bool, hotSpotFlag);
    QFETCH(bool, userManagerFlag);
    QFETCH(bool, hotSpotProfiles);
    QFETCH(bool, scriptInPlace);
    QFETCH(QStringList, expected);
    QFETCH(QList<QStringList>, commands);
    QFETCH(bool, asked);
    routersim::RouterState router =
        routerWith(u"6.48.6 (stable)"_s, {u"1dia|5.00|1d|admin"_s, u"7dias|25.00|7d|admin"_s});
    if (scriptInPlace) {
        router.scripts = {{{}, u"wifiTicketer"_s, u"old"_s}};
        router.schedulers = {{{}, u"wifiTicketer"_s, u"wifiTicketer"_s, u"00:10:00"_s}};
    }
    RouterHarness h(router);
    QVERIFY(h.start());
    h.state.routers[0].EnableHotSpotProfiles = hotSpotFlag;
    h.state.routers[0].EnableUserManagerProfiles = userManagerFlag;
    h.state.routers[0].UserManagerAdmin = u"admin"_s;
    if (hotSpotProfiles)
        h.state.hotSpotProfiles = {defaultHotSpot(u"2 horas"_s, 7200, 300),
                                   defaultHotSpot(u"1 semana"_s, 604800, 300)};
    h.state.routerInfo.Customer = u"antigo"_s;
    // What an earlier session left behind is dropped.
    h.state.profiles = {userManagerProfile(u"velho"_s)};
    newVoucherRecord(h.state.batch, h.state.profiles.first());
    h.interaction.answer({Answer::No});

    QVERIFY(readCurrentRouterInformation(h.state, h.interaction));
    QCOMPARE(profileNames(h.state.profiles), expected);
    QVERIFY(h.state.batch.empty());
    QCOMPARE(h.commands(), commands);
    QCOMPARE(h.sent().first().first(), u"/login"_s);
    QCOMPARE(h.sent().last(), QStringList{u"/quit"_s});
    QCOMPARE(h.state.routerInfo.Major, 6);
    QCOMPARE(h.state.routerInfo.Minor, 48);
    QCOMPARE(h.state.routerInfo.Customer, userManagerFlag ? u"admin"_s : u"antigo"_s);
    QCOMPARE(h.interaction.texts(), asked ? QStringList{ScriptQuestion} : QStringList());
    for (const auto &profile : h.state.profiles)
        QCOMPARE(profile->HotSpot.has_value(), profile->Name.contains(u' '));
}

void RouterInfoTest::scriptOfferedAtStartUp()
{
    RouterHarness h(routerWith(u"6.48.6 (stable)"_s));
    QVERIFY(h.start());
    h.state.routers[0].EnableUserManagerProfiles = false;
    h.state.hotSpotProfiles = {defaultHotSpot(u"2 horas"_s, 7200, 300)};
    h.state.settings.HotSpotScheduleInterval = 900;
    h.interaction.answer({Answer::Yes});

    QVERIFY(readCurrentRouterInformation(h.state, h.interaction));
    const QList<QStringList> commands = h.commands();
    QCOMPARE(commands.size(), 5);
    QCOMPARE(commands[3].mid(0, 2), (QStringList{u"/system/script/add"_s, u"=name=wifiTicketer"_s}));
    QCOMPARE(commands[4], (QStringList{u"/system/scheduler/add"_s, u"=name=wifiTicketer"_s,
                                       u"=on-event=wifiTicketer"_s, u"=interval= 00:15:00"_s}));
    QCOMPARE(h.interaction.events.size(), 2);
    QCOMPARE(h.interaction.events[0].kind, ScriptedInteraction::Kind::YesNo);
    QCOMPARE(h.interaction.events[0].icon, MessageIcon::Question);
    QCOMPARE(h.interaction.events[1].icon, MessageIcon::Information);
    const routersim::RouterState after = h.router().state();
    QCOMPARE(after.scripts.size(), 1);
    QCOMPARE(after.scripts[0].source.toUtf8(), ExpirationScriptSource);
    QCOMPARE(after.schedulers.size(), 1);
    QCOMPARE(h.sent().last(), QStringList{u"/quit"_s});
}

void RouterInfoTest::sessionNotOpened_data()
{
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<QString>("message");
    QTest::addRow("unreachable") << false << connectionMessage(u"Longe"_s);
    QTest::addRow("login refused")
        << true
        << u"Ocorreu um erro durante autentição no router 127.0.0.1 .\nVerifique o usuário e senha."_s;
}

void RouterInfoTest::sessionNotOpened()
{
    QFETCH(bool, reachable);
    QFETCH(QString, message);
    RouterHarness h;
    QVERIFY(h.start());
    if (reachable)
        h.state.routers[0].ApiPassword = u"errada"_s;
    else
        h.state.routers[0] = unreachableRouter(u"Longe"_s);
    h.state.hotSpotProfiles = {defaultHotSpot(u"1 semana"_s, 604800, 300),
                               defaultHotSpot(u"2 horas"_s, 7200, 300)};
    h.state.profiles = {userManagerProfile(u"velho"_s)};
    h.state.routerInfo = {5, 25, u"antigo"_s};

    QVERIFY(!readCurrentRouterInformation(h.state, h.interaction));
    QCOMPARE(h.interaction.texts(), QStringList{message});
    QCOMPARE(h.interaction.events[0].icon, MessageIcon::Error);
    // The hotspot profiles were listed before the router was asked.
    QCOMPARE(profileNames(h.state.profiles), (QStringList{u"2 horas"_s, u"1 semana"_s}));
    QVERIFY(h.commands().isEmpty());
    QCOMPARE(h.state.routerInfo.Major, 5);
    QCOMPARE(h.state.routerInfo.Minor, 25);
    QCOMPARE(h.state.routerInfo.Customer, u"antigo"_s);
}

void RouterInfoTest::noCurrentRouter()
{
    RouterHarness h;
    QVERIFY(h.start());
    h.state.currentRouterIndex = -1;
    h.state.hotSpotProfiles = {defaultHotSpot(u"2 horas"_s, 7200, 300)};
    h.state.profiles = {userManagerProfile(u"velho"_s)};
    newVoucherRecord(h.state.batch, h.state.profiles.first());

    QVERIFY(readCurrentRouterInformation(h.state, h.interaction));
    QVERIFY(h.state.profiles.isEmpty());
    QVERIFY(h.state.batch.empty());
    QVERIFY(h.sent().isEmpty());
    QVERIFY(h.interaction.events.isEmpty());
}

void RouterInfoTest::hotSpotNames()
{
    routersim::RouterState router = routersim::defaultRouterState();
    router.hotspotUserProfiles.append({{}, u"Café"_s});
    router.hotspotServers.append({{}, u"hotspot2"_s});
    RouterHarness h(router);
    QVERIFY(h.start());
    // The first router that sells hotspot profiles is asked, and only it.
    RouterConfig skipped = unreachableRouter(u"Sem hotspot"_s);
    skipped.EnableHotSpotProfiles = false;
    const QList<RouterConfig> routers = {skipped, h.state.routers[0], unreachableRouter(u"Outro"_s)};

    const std::optional<HotSpotNames> found = listHotSpotNames(routers, h.interaction);
    QVERIFY(found);
    QCOMPARE(found->profiles, (QStringList{u"default"_s, u"1hora"_s, u"Café"_s}));
    QCOMPARE(found->servers, (QStringList{u"hotspot1"_s, u"hotspot2"_s}));
    QCOMPARE(h.commands(),
             (QList<QStringList>{{u"/ip/hotspot/user/profile/print"_s}, {u"/ip/hotspot/print"_s}}));
    QCOMPARE(h.sent().last(), QStringList{u"/quit"_s});
    QVERIFY(h.interaction.events.isEmpty());
    QCOMPARE(h.interaction.waitsBegun, 1);
    QCOMPARE(h.interaction.waitDepth, 0);
}

void RouterInfoTest::hotSpotNamesWithoutHotSpotRouter()
{
    RouterHarness h;
    QVERIFY(h.start());
    RouterConfig config = h.state.routers[0];
    config.EnableHotSpotProfiles = false;

    QVERIFY(!listHotSpotNames({config, config}, h.interaction));
    QCOMPARE(h.interaction.texts(),
             QStringList{u"Ele não encontrou um roteador com perfis hotspot ativado."_s});
    QCOMPARE(h.interaction.events[0].icon, MessageIcon::Warning);
    QVERIFY(h.sent().isEmpty());
    QVERIFY(!listHotSpotNames({}, h.interaction));
    QCOMPARE(h.interaction.events.size(), 2);
}

void RouterInfoTest::hotSpotNamesStopsAtUnreachableRouter()
{
    RouterHarness h;
    QVERIFY(h.start());
    QVERIFY(!listHotSpotNames({unreachableRouter(u"Longe"_s), h.state.routers[0]}, h.interaction));
    QCOMPARE(h.interaction.texts(), QStringList{connectionMessage(u"Longe"_s)});
    QCOMPARE(h.router().connectionCount(), 0);
    QCOMPARE(h.interaction.waitDepth, 0);
}

WIFITICKETER_TEST(RouterInfoTest)
#include "router/routersession.h"
#include "routerinfotest.moc"
