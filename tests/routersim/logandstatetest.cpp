#include "apisentence.h"
#include "simfixture.h"
#include "testmain.h"

#include "routersim/statejson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace routersim;

namespace {

QJsonObject parse(const char *json)
{
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

// A state with something in every list.
RouterState fullState()
{
    RouterState state = defaultRouterState();
    state.version = QStringLiteral("4.17");
    state.hotspotUsers = {{QStringLiteral("*20"), QStringLiteral("ana"), QStringLiteral("p"),
                           QStringLiteral("1hora"), QStringLiteral("hotspot1"),
                           QStringLiteral("202612092045"), QStringLiteral(" 00:30:00"), QStringLiteral("1"),
                           QStringLiteral("2"), QStringLiteral("3"), true}};
    state.userManagerCredits = {
        {{}, QStringLiteral("1h"), QStringLiteral("100"), QStringLiteral("1h"), QStringLiteral("admin")}};
    state.userManagerUsers = {{{},
                               QStringLiteral("bia"),
                               QStringLiteral("q"),
                               QStringLiteral("admin"),
                               QStringLiteral("Bia"),
                               QStringLiteral("Silva"),
                               QStringLiteral("555"),
                               QStringLiteral("Lisboa"),
                               QStringLiteral("bia@example.com"),
                               QStringLiteral("bind"),
                               QStringLiteral("room 3"),
                               QStringLiteral("1dia"),
                               QStringLiteral("1h")}};
    state.userProfiles = {{{}, QStringLiteral("bia"), QStringLiteral("1dia")}};
    state.scripts = {{{}, QStringLiteral("wifiTicketer"), QStringLiteral(":log info \"x\"\r\n")}};
    state.schedulers = {
        {{}, QStringLiteral("wifiTicketer"), QStringLiteral("wifiTicketer"), QStringLiteral(" 00:10:00")}};
    assignMissingIds(state);
    return state;
}

} // namespace

class LogAndStateTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void logKeepsWordsAsReceived();
    void logTellsConnectionsApart();
    void logLineJson();
    void stateDump();
    void configRoundTrip();
    void configChangesOnlyWhatItNames();
    void configErrors_data();
    void configErrors();
};

void LogAndStateTest::logKeepsWordsAsReceived()
{
    SimFixture sim;
    QVERIFY(sim.start());
    // The 5-byte length form, an empty value, an equals sign inside a value and
    // bytes that are not UTF-8 all stay as they came.
    sim.client().sendBytes(QByteArray::fromHex("f000000006") + "/login" +
                           apiSentence({"=name=admin", "=password="}));
    QCOMPARE(sim.client().readAnswer(), QStringList{QStringLiteral("!done")});
    const QByteArray odd = QByteArray("=comment=a=b\xff\xfe", 14);
    QCOMPARE(sim.call({"/ip/hotspot/user/add", "=name=x", odd}).value(0), QStringLiteral("!done =ret=*8"));
    sim.client().sendBytes(QByteArray(1, '\0')); // an empty sentence is logged and not answered
    QCOMPARE(sim.call({"/quit"}).size(), 1);

    const QList<LoggedSentence> log = sim.router().log();
    QCOMPARE(log.size(), 4);
    QCOMPARE(log[0].words, (Sentence{"/login", "=name=admin", "=password="}));
    QCOMPARE(log[1].words, (Sentence{"/ip/hotspot/user/add", "=name=x", odd}));
    QCOMPARE(log[2].words, Sentence{});
    QCOMPARE(log[3].words, Sentence{"/quit"});
    for (const LoggedSentence &entry : log)
        QCOMPARE(entry.connection, 1);

    sim.router().clearLog();
    QVERIFY(sim.router().log().isEmpty());
}

void LogAndStateTest::logTellsConnectionsApart()
{
    SimFixture sim;
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    RawClient second;
    QVERIFY(second.connectTo(sim.port()));
    QCOMPARE(second.call({"/login"}).size(), 1);
    QCOMPARE(sim.call({"/system/resource/print"}).size(), 2);

    QCOMPARE(sim.router().connectionCount(), 2);
    QCOMPARE(sim.router().sentencesOf(1),
             (QList<Sentence>{{"/login", "=name=admin", "=password="}, {"/system/resource/print"}}));
    QCOMPARE(sim.router().sentencesOf(2), QList<Sentence>{{"/login"}});
    const QList<LoggedSentence> log = sim.router().log();
    QCOMPARE(log.size(), 3);
    QCOMPARE(log[1].connection, 2);
}

void LogAndStateTest::logLineJson()
{
    const QJsonObject line =
        loggedSentenceToJson({3, {"/login", "=name=jo\xc3\xa3o", QByteArray("\xff\x00", 2)}});
    QCOMPARE(
        line,
        parse(R"json({"connection": 3, "words": ["/login", "=name=jo\u00e3o", {"base64": "/wA="}]})json"));
}

void LogAndStateTest::stateDump()
{
    SimFixture sim;
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    QCOMPARE(sim.call({"/ip/hotspot/user/add", "=name=ana", "=password=p", "=profile=1hora",
                       "=comment=202612092045"})
                 .value(0),
             QStringLiteral("!done =ret=*8"));
    const QJsonObject dump = stateToJson(sim.router().state());
    QCOMPARE(dump.value(QStringLiteral("version")).toString(), QStringLiteral("6.48.6 (stable)"));
    QCOMPARE(dump.value(QStringLiteral("nextId")).toInt(), 9);
    const QJsonObject user =
        parse(R"json({"id": "*8", "name": "ana", "password": "p", "profile": "1hora", "server": "",
                                       "comment": "202612092045", "limit-uptime": "", "limit-bytes-in": "",
                                       "limit-bytes-out": "", "limit-bytes-total": "", "disabled": false})json");
    QCOMPARE(dump.value(QStringLiteral("hotspotUsers")).toArray(), QJsonArray{user});
    QCOMPARE(
        dump.value(QStringLiteral("userManagerProfiles")).toArray().at(1).toObject(),
        parse(
            R"json({"id": "*6", "name": "7dias", "owner": "admin", "price": "25.00", "validity": "7d"})json"));
    const QJsonObject customer = parse(R"json({"id": "*7", "login": "admin"})json");
    QCOMPARE(dump.value(QStringLiteral("customers")).toArray(), QJsonArray{customer});
}

void LogAndStateTest::configRoundTrip()
{
    const RouterState state = fullState();
    const QJsonObject dump = stateToJson(state);
    RouterState read;
    RouterBehaviour behaviour;
    QString error;
    QVERIFY2(applyConfigJson(dump, read, behaviour, error), qPrintable(error));
    QCOMPARE(stateToJson(read), dump);
    QCOMPARE(read.hotspotUsers.value(0).disabled, true);
    QCOMPARE(read.userManagerUsers.value(0).credit, QStringLiteral("1h"));
    QCOMPARE(read.nextId, state.nextId);
}

void LogAndStateTest::configChangesOnlyWhatItNames()
{
    RouterState state = defaultRouterState();
    RouterBehaviour behaviour;
    QString error;
    const QJsonObject config =
        parse(R"json({"version": "7.12 (stable)", "login": "plain-trap", "latencyMs": 20,
                                         "refuseAdds": true, "stall": false, "closeAfter": 4,
                                         "forgetAdds": true, "trickleMs": 15, "outOfOrderTags": true,
                                         "endlessReMs": 40, "faultCommand": "/login",
                                         "hotspotUsers": [{"name": "ana", "limit-bytes-total": 1000000}],
                                         "apiUsers": [{"name": "api", "password": "pw"}]})json");
    QVERIFY2(applyConfigJson(config, state, behaviour, error), qPrintable(error));
    QCOMPARE(state.version, QStringLiteral("7.12 (stable)"));
    QCOMPARE(behaviour.login, LoginMode::PlainTrap);
    QCOMPARE(behaviour.latencyMs, 20);
    QCOMPARE(behaviour.refuseAdds, true);
    QCOMPARE(behaviour.closeAfter, 4);
    QCOMPARE(behaviour.forgetAdds, true);
    QCOMPARE(behaviour.trickleMs, 15);
    QCOMPARE(behaviour.outOfOrderTags, true);
    QCOMPARE(behaviour.endlessReMs, 40);
    QCOMPARE(behaviour.faultCommand, QStringLiteral("/login"));
    QCOMPARE(state.hotspotUsers.size(), 1);
    // New records take ids after those already used, in list order.
    QCOMPARE(state.apiUsers.value(0).id, QStringLiteral("*8"));
    QCOMPARE(state.hotspotUsers[0].id, QStringLiteral("*9"));
    QCOMPARE(state.hotspotUsers[0].profile, QStringLiteral("default"));
    QCOMPARE(state.hotspotUsers[0].limitBytesTotal, QStringLiteral("1000000"));
    QCOMPARE(state.apiUsers.size(), 1);
    QCOMPARE(state.apiUsers[0].password, QStringLiteral("pw"));
    // Lists not named stay.
    QCOMPARE(state.hotspotUserProfiles.size(), 2);
    QCOMPARE(state.userManagerProfiles.size(), 2);
}

void LogAndStateTest::configErrors_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("error");
    QTest::addRow("unknown key") << QByteArray(R"json({"versoin": "7.1"})json")
                                 << QStringLiteral("unknown key \"versoin\"");
    QTest::addRow("unknown login") << QByteArray(R"json({"login": "token"})json")
                                   << QStringLiteral("\"login\" has a value of the wrong kind");
    QTest::addRow("flag as text") << QByteArray(R"json({"stall": "yes"})json")
                                  << QStringLiteral("\"stall\" has a value of the wrong kind");
    QTest::addRow("negative count") << QByteArray(R"json({"closeAfter": -1})json")
                                    << QStringLiteral("\"closeAfter\" has a value of the wrong kind");
    QTest::addRow("switch as number") << QByteArray(R"json({"outOfOrderTags": 1})json")
                                      << QStringLiteral("\"outOfOrderTags\" has a value of the wrong kind");
    QTest::addRow("pause as text") << QByteArray(R"json({"trickleMs": "50"})json")
                                   << QStringLiteral("\"trickleMs\" has a value of the wrong kind");
    QTest::addRow("command not a text") << QByteArray(R"json({"faultCommand": 7})json")
                                        << QStringLiteral("\"faultCommand\" has a value of the wrong kind");
    QTest::addRow("list not an array")
        << QByteArray(R"json({"scripts": {}})json") << QStringLiteral("scripts: not an array");
    QTest::addRow("unknown attribute")
        << QByteArray(R"json({"hotspotUsers": [{"name": "a", "colour": "red"}]})json")
        << QStringLiteral("hotspotUsers: \"colour\" is no attribute of this list");
    QTest::addRow("flag of wrong kind")
        << QByteArray(R"json({"hotspotUsers": [{"disabled": "no"}]})json")
        << QStringLiteral("hotspotUsers: \"disabled\" has a value of the wrong kind");
}

void LogAndStateTest::configErrors()
{
    QFETCH(QByteArray, config);
    QFETCH(QString, error);
    RouterState state = defaultRouterState();
    RouterBehaviour behaviour;
    const QJsonObject before = stateToJson(state);
    QString message;
    QVERIFY(!applyConfigJson(QJsonDocument::fromJson(config).object(), state, behaviour, message));
    QCOMPARE(message, error);
    QCOMPARE(stateToJson(state), before);
}

WIFITICKETER_TEST(LogAndStateTest)
#include "logandstatetest.moc"
