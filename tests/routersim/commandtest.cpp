#include "simfixture.h"
#include "testmain.h"

#include "routersim/statejson.h"

#include <QTest>

using namespace routersim;

namespace {

QStringList trap(const QString &message)
{
    return {QStringLiteral("!trap =message=") + message, QStringLiteral("!done")};
}

const QStringList Done{QStringLiteral("!done")};

// The id an add answered with ("!done =ret=*9"), as a word value.
QByteArray retOf(const QStringList &answer)
{
    const QString first = answer.value(0);
    return first.startsWith(u"!done =ret=") ? first.mid(11).toUtf8() : QByteArray();
}

// The default router with another version and a RouterOS 4 credit (id *8).
RouterState routerOf(const QString &version)
{
    RouterState state = routerWithVersion(version);
    state.userManagerCredits = {
        {{}, QStringLiteral("1h"), QStringLiteral("100"), QStringLiteral("1h"), QStringLiteral("admin")}};
    return state;
}

// The expiration script as the program uploads it: CR LF lines, about 2 KB.
QByteArray longScript()
{
    QByteArray source;
    for (int line = 0; source.size() < 2000; ++line)
        source += " :local line" + QByteArray::number(line) + " [/ip hotspot user find]\r\n";
    return source;
}

} // namespace

class CommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionPaths_data();
    void versionPaths();
    void hotspotUsers();
    void hotspotQueries();
    void refusals_data();
    void refusals();
    void userManagerUsers_data();
    void userManagerUsers();
    void userManagerWords_data();
    void userManagerWords();
    void activation_data();
    void activation();
    void profileAssignmentOnSeven();
    void scriptsAndSchedulers();
    void tagIsEchoed_data();
    void tagIsEchoed();
    void quitEndsSession();
};

void CommandTest::versionPaths_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QStringList>("answer");

    const QString noPrefix = QStringLiteral("no such command prefix");
    const QStringList profiles{
        QStringLiteral("!re =.id=*5 =name=1dia =owner=admin =price=5.00 =validity=1d"),
        QStringLiteral("!re =.id=*6 =name=7dias =owner=admin =price=25.00 =validity=7d"),
        QStringLiteral("!done")};
    QTest::addRow("4.17 credits") << "4.17" << QByteArray("/tool/user-manager/credit/print")
                                  << QStringList{QStringLiteral("!re =.id=*8 =name=1h =subscriber=admin "
                                                                "=full-price=100 =time=1h"),
                                                 QStringLiteral("!done")};
    QTest::addRow("4.17 has no profiles")
        << "4.17" << QByteArray("/tool/user-manager/profile/print") << trap(noPrefix);
    QTest::addRow("4.17 activates nothing")
        << "4.17" << QByteArray("/tool/user-manager/user/create-and-activate-profile")
        << trap(QStringLiteral("no such command"));
    QTest::addRow("4.17 customers") << "4.17" << QByteArray("/tool/user-manager/customer/print")
                                    << QStringList{QStringLiteral("!re =.id=*7 =login=admin"),
                                                   QStringLiteral("!done")};
    QTest::addRow("6.25 profiles") << "6.25" << QByteArray("/tool/user-manager/profile/print") << profiles;
    QTest::addRow("6.48 profiles") << "6.48.6 (stable)" << QByteArray("/tool/user-manager/profile/print")
                                   << profiles;
    QTest::addRow("6.48 has no credits")
        << "6.48.6 (stable)" << QByteArray("/tool/user-manager/credit/print") << trap(noPrefix);
    QTest::addRow("6.48 has no 7 menu")
        << "6.48.6 (stable)" << QByteArray("/user-manager/user/print") << trap(noPrefix);
    QTest::addRow("6.48 rebuild") << "6.48.6 (stable)" << QByteArray("/tool/user-manager/database/rebuild")
                                  << Done;
    QTest::addRow("7.12 profiles") << "7.12 (stable)" << QByteArray("/user-manager/profile/print")
                                   << profiles;
    QTest::addRow("7.12 has no tool menu")
        << "7.12 (stable)" << QByteArray("/tool/user-manager/user/print") << trap(noPrefix);
    QTest::addRow("7.12 has no customers")
        << "7.12 (stable)" << QByteArray("/tool/user-manager/customer/print") << trap(noPrefix);
    QTest::addRow("7.12 has no rebuild")
        << "7.12 (stable)" << QByteArray("/tool/user-manager/database/rebuild") << trap(noPrefix);
    QTest::addRow("7.12 version") << "7.12 (stable)" << QByteArray("/system/resource/print")
                                  << QStringList{QStringLiteral("!re =version=7.12 (stable) =board-name=CHR"),
                                                 QStringLiteral("!done")};
    QTest::addRow("6.48 hotspot profiles")
        << "6.48.6 (stable)" << QByteArray("/ip/hotspot/user/profile/print")
        << QStringList{QStringLiteral("!re =.id=*2 =name=default"), QStringLiteral("!re =.id=*3 =name=1hora"),
                       QStringLiteral("!done")};
    QTest::addRow("6.48 hotspot servers")
        << "6.48.6 (stable)" << QByteArray("/ip/hotspot/print")
        << QStringList{QStringLiteral("!re =.id=*4 =name=hotspot1"), QStringLiteral("!done")};
    QTest::addRow("unknown command of a menu") << "6.48.6 (stable)" << QByteArray("/ip/hotspot/user/frob")
                                               << trap(QStringLiteral("no such command"));
    QTest::addRow("unknown menu") << "6.48.6 (stable)" << QByteArray("/ip/hotspot/usr/print")
                                  << trap(noPrefix);
    QTest::addRow("no path") << "6.48.6 (stable)" << QByteArray("print") << trap(noPrefix);
}

void CommandTest::versionPaths()
{
    QFETCH(QString, version);
    QFETCH(QByteArray, command);
    QFETCH(QStringList, answer);
    SimFixture sim(routerOf(version));
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    QCOMPARE(sim.call({command}), answer);
}

void CommandTest::hotspotUsers()
{
    SimFixture sim;
    QVERIFY(sim.start());
    QVERIFY(sim.login());

    // Every attribute the program sends, limits included.
    QCOMPARE(sim.call({"/ip/hotspot/user/add", "=name=ana", "=password=p1", "=profile=1hora",
                       "=server=hotspot1", "=comment=202612092045", "=limit-uptime= 00:30:00",
                       "=limit-bytes-in=1000", "=limit-bytes-out=2000", "=limit-bytes-total=3000"}),
             QStringList{QStringLiteral("!done =ret=*8")});
    QCOMPARE(sim.call({"/ip/hotspot/user/print", "?name=ana"}),
             (QStringList{QStringLiteral("!re =.id=*8 =name=ana =password=p1 =profile=1hora =server=hotspot1 "
                                         "=comment=202612092045 =limit-uptime= 00:30:00 =limit-bytes-in=1000 "
                                         "=limit-bytes-out=2000 =limit-bytes-total=3000 =disabled=false"),
                          QStringLiteral("!done")}));
    // The five words of a plain profile.
    QCOMPARE(sim.call({"/ip/hotspot/user/add", "=name=bia", "=password=", "=profile=default",
                       "=comment=202612092046"}),
             QStringList{QStringLiteral("!done =ret=*9")});
    QCOMPARE(sim.call({"/ip/hotspot/user/print"}).size(), 3);
    QCOMPARE(sim.call({"/ip/hotspot/user/print", "?name=carla"}), Done);

    QCOMPARE(sim.call({"/ip/hotspot/user/set", "=.id=*9", "=comment=202701010000", "=password=new"}), Done);
    QCOMPARE(sim.call({"/ip/hotspot/user/set", "=numbers=*8", "=disabled=yes"}), Done);
    RouterState state = sim.router().state();
    QCOMPARE(state.hotspotUsers.size(), 2);
    QCOMPARE(state.hotspotUsers[1].comment, QStringLiteral("202701010000"));
    QCOMPARE(state.hotspotUsers[1].password, QStringLiteral("new"));
    QCOMPARE(state.hotspotUsers[0].disabled, true);
    QCOMPARE(state.hotspotUsers[0].limitUptime, QStringLiteral(" 00:30:00"));

    QCOMPARE(sim.call({"/ip/hotspot/user/set", "=.id=*8", "=name=bia"}),
             trap(QStringLiteral("failure: already have user with this name")));
    QCOMPARE(sim.router().state().hotspotUsers[0].name, QStringLiteral("ana"));

    QCOMPARE(sim.call({"/ip/hotspot/user/remove", "=.id=*8"}), Done);
    QCOMPARE(sim.call({"/ip/hotspot/user/remove", "=.id=*8"}), trap(QStringLiteral("no such item")));
    state = sim.router().state();
    QCOMPARE(state.hotspotUsers.size(), 1);
    QCOMPARE(state.hotspotUsers[0].name, QStringLiteral("bia"));
    // A new add never reuses an id.
    QCOMPARE(retOf(sim.call({"/ip/hotspot/user/add", "=name=ana", "=profile=default"})), QByteArray("*A"));
    QCOMPARE(sim.call({"/ip/hotspot/user/remove", "=numbers=*9,*A"}), Done);
    QVERIFY(sim.router().state().hotspotUsers.isEmpty());
}

void CommandTest::hotspotQueries()
{
    RouterState state = defaultRouterState();
    state.hotspotUsers = {
        hotspotUser(QStringLiteral("a"), QStringLiteral("default"), QStringLiteral("202601010000")),
        hotspotUser(QStringLiteral("b"), QStringLiteral("1hora"))};
    SimFixture sim(state);
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    const auto names = [&sim](const QByteArrayList &queries) {
        QStringList found;
        for (const QString &sentence : sim.call(QByteArrayList{"/ip/hotspot/user/print"} + queries)) {
            if (sentence.startsWith(u"!re"))
                found.append(sentence.section(u' ', 2, 2));
        }
        return found;
    };
    QCOMPARE(names({"?comment"}), QStringList{QStringLiteral("=name=a")});
    QCOMPARE(names({"?-comment"}), QStringList{QStringLiteral("=name=b")});
    QCOMPARE(names({"?profile=1hora"}), QStringList{QStringLiteral("=name=b")});
    QCOMPARE(names({"?=profile=1hora"}), QStringList{QStringLiteral("=name=b")});
    QCOMPARE(names({"?profile=default", "?name=b"}), QStringList{});
    QCOMPARE(names({"?.id=*9"}), QStringList{QStringLiteral("=name=b")});
    QCOMPARE(names({}), (QStringList{QStringLiteral("=name=a"), QStringLiteral("=name=b")}));
}

void CommandTest::refusals_data()
{
    QTest::addColumn<QByteArrayList>("command");
    QTest::addColumn<QString>("message");
    QTest::addRow("duplicate name") << QByteArrayList{"/ip/hotspot/user/add", "=name=ana", "=profile=default"}
                                    << QStringLiteral("failure: already have user with this name");
    QTest::addRow("unknown profile") << QByteArrayList{"/ip/hotspot/user/add", "=name=x", "=profile=2horas"}
                                     << QStringLiteral("input does not match any value of profile");
    QTest::addRow("empty profile") << QByteArrayList{"/ip/hotspot/user/add", "=name=x", "=profile="}
                                   << QStringLiteral("input does not match any value of profile");
    QTest::addRow("unknown server") << QByteArrayList{"/ip/hotspot/user/add", "=name=x", "=server=hotspot9"}
                                    << QStringLiteral("input does not match any value of server");
    QTest::addRow("no name") << QByteArrayList{"/ip/hotspot/user/add", "=password=x"}
                             << QStringLiteral("failure: user name missing");
    QTest::addRow("unknown attribute") << QByteArrayList{"/ip/hotspot/user/add", "=name=x", "=colour=red"}
                                       << QStringLiteral("unknown parameter");
    QTest::addRow("id on add") << QByteArrayList{"/ip/hotspot/user/add", "=name=x", "=.id=*5"}
                               << QStringLiteral("unknown parameter");
    QTest::addRow("word without equals sign")
        << QByteArrayList{"/ip/hotspot/user/add", "name=x"} << QStringLiteral("unknown parameter");
    QTest::addRow("flag not yes or no")
        << QByteArrayList{"/ip/hotspot/user/set", "=.id=*8", "=disabled=maybe"}
        << QStringLiteral("value of disabled must be yes or no");
    QTest::addRow("set unknown id") << QByteArrayList{"/ip/hotspot/user/set", "=.id=*99", "=comment=x"}
                                    << QStringLiteral("no such item");
    QTest::addRow("set without id") << QByteArrayList{"/ip/hotspot/user/set", "=comment=x"}
                                    << QStringLiteral("no such item");
    QTest::addRow("remove by name") << QByteArrayList{"/ip/hotspot/user/remove", "=.id=ana"}
                                    << QStringLiteral("no such item");
    QTest::addRow("remove one unknown of two")
        << QByteArrayList{"/ip/hotspot/user/remove", "=numbers=*8,*99"} << QStringLiteral("no such item");
    QTest::addRow("duplicate script")
        << QByteArrayList{"/system/script/add", "=name=wifiTicketer", "=source=:log"}
        << QStringLiteral("failure: already have script with this name");
    QTest::addRow("duplicate scheduler")
        << QByteArrayList{"/system/scheduler/add", "=name=wifiTicketer", "=on-event=x"}
        << QStringLiteral("failure: already have scheduler with this name");
}

void CommandTest::refusals()
{
    QFETCH(QByteArrayList, command);
    QFETCH(QString, message);
    RouterState state = defaultRouterState();
    state.hotspotUsers = {hotspotUser(QStringLiteral("ana"))};
    state.scripts = {{{}, QStringLiteral("wifiTicketer"), QStringLiteral(":log info x")}};
    state.schedulers = {
        {{}, QStringLiteral("wifiTicketer"), QStringLiteral("wifiTicketer"), QStringLiteral("10m")}};
    SimFixture sim(state);
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    const QJsonObject before = stateToJson(sim.router().state());
    QCOMPARE(sim.call(command), trap(message));
    QCOMPARE(stateToJson(sim.router().state()), before);
}

void CommandTest::userManagerUsers_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QByteArray>("menu");
    QTest::addColumn<QByteArray>("nameKey");
    QTest::addColumn<QByteArray>("otherNameKey");
    QTest::addColumn<QByteArrayList>("ownerWords");
    QTest::addColumn<QByteArray>("ownerQuery");

    const QByteArray tool = "/tool/user-manager/user";
    QTest::addRow("4.17") << "4.17" << tool << QByteArray("name") << QByteArray("username")
                          << QByteArrayList{"=subscriber=admin", "=add-credit=1h"}
                          << QByteArray("?subscriber=admin");
    QTest::addRow("5.25") << "5.25" << tool << QByteArray("name") << QByteArray("username")
                          << QByteArrayList{"=customer=admin"} << QByteArray("?customer=admin");
    QTest::addRow("6.29") << "6.29" << tool << QByteArray("name") << QByteArray("username")
                          << QByteArrayList{"=customer=admin"} << QByteArray("?customer=admin");
    QTest::addRow("6.30") << "6.30" << tool << QByteArray("username") << QByteArray("name")
                          << QByteArrayList{"=customer=admin"} << QByteArray("?customer=admin");
    QTest::addRow("6.48") << "6.48.6 (stable)" << tool << QByteArray("username") << QByteArray("name")
                          << QByteArrayList{"=customer=admin"} << QByteArray("?customer=admin");
    QTest::addRow("7.12") << "7.12 (stable)" << QByteArray("/user-manager/user") << QByteArray("name")
                          << QByteArray("username") << QByteArrayList{} << QByteArray();
}

void CommandTest::userManagerUsers()
{
    QFETCH(QString, version);
    QFETCH(QByteArray, menu);
    QFETCH(QByteArray, nameKey);
    QFETCH(QByteArray, otherNameKey);
    QFETCH(QByteArrayList, ownerWords);
    QFETCH(QByteArray, ownerQuery);
    SimFixture sim(routerOf(version));
    QVERIFY(sim.start());
    QVERIFY(sim.login());

    // The name word of another version is refused, as the router does not know it.
    QCOMPARE(sim.call({menu + "/add", "=" + otherNameKey + "=ana", "=password=p"}),
             trap(QStringLiteral("unknown parameter")));
    const QByteArrayList add =
        QByteArrayList{menu + "/add", "=" + nameKey + "=ana", "=password=p"} + ownerWords;
    QCOMPARE(sim.call(add), QStringList{QStringLiteral("!done =ret=*9")});
    QCOMPARE(sim.call(add), trap(QStringLiteral("failure: already have user with this name")));

    QByteArrayList print{menu + "/print", "?" + nameKey + "=ana"};
    if (!ownerQuery.isEmpty())
        print.append(ownerQuery);
    const QStringList found = sim.call(print);
    QCOMPARE(found.size(), 2);
    QVERIFY2(found[0].startsWith(QString::fromUtf8("!re =.id=*9 =" + nameKey + "=ana =password=p")),
             qPrintable(found[0]));
    if (!ownerQuery.isEmpty()) {
        QVERIFY(found[0].contains(QString::fromUtf8("=" + ownerQuery.mid(1))));
        QCOMPARE(sim.call({menu + "/print", "?" + nameKey + "=ana", ownerQuery + "x"}), Done);
    }
    QCOMPARE(sim.router().state().userManagerUsers.value(0).credit,
             version == u"4.17" ? QStringLiteral("1h") : QString());

    // The backup rename, then the old name is gone.
    QCOMPARE(sim.call({menu + "/set", "=.id=*9", "=" + nameKey + "=ana_261208140509"}), Done);
    QCOMPARE(sim.router().state().userManagerUsers.value(0).name, QStringLiteral("ana_261208140509"));
    QCOMPARE(sim.call({menu + "/print", "?" + nameKey + "=ana"}), Done);
    QCOMPARE(sim.call({menu + "/remove", "=.id=*9"}), Done);
    QVERIFY(sim.router().state().userManagerUsers.isEmpty());
}

void CommandTest::userManagerWords_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<QString>("refusal"); // empty: accepted

    const QString unknown = QStringLiteral("unknown parameter");
    QTest::addRow("6.48 personal data") << "6.48.6 (stable)" << QByteArray("=first-name=Ana") << QString();
    QTest::addRow("6.48 e-mail") << "6.48.6 (stable)" << QByteArray("=email=ana@example.com") << QString();
    QTest::addRow("6.48 caller-id") << "6.48.6 (stable)" << QByteArray("=caller-id=bind") << QString();
    QTest::addRow("6.48 comment") << "6.48.6 (stable)" << QByteArray("=comment=room 12") << QString();
    QTest::addRow("6.48 unknown customer") << "6.48.6 (stable)" << QByteArray("=customer=bob")
                                           << QStringLiteral("input does not match any value of customer");
    QTest::addRow("6.48 subscriber") << "6.48.6 (stable)" << QByteArray("=subscriber=admin") << unknown;
    QTest::addRow("6.48 credit") << "6.48.6 (stable)" << QByteArray("=add-credit=1h") << unknown;
    QTest::addRow("6.48 actual-profile")
        << "6.48.6 (stable)" << QByteArray("=actual-profile=1dia") << unknown;
    QTest::addRow("4.17 customer") << "4.17" << QByteArray("=customer=admin") << unknown;
    QTest::addRow("4.17 unknown subscriber")
        << "4.17" << QByteArray("=subscriber=bob")
        << QStringLiteral("input does not match any value of subscriber");
    QTest::addRow("4.17 unknown credit") << "4.17" << QByteArray("=add-credit=2h")
                                         << QStringLiteral("input does not match any value of add-credit");
    QTest::addRow("7.12 customer") << "7.12 (stable)" << QByteArray("=customer=admin") << unknown;
    QTest::addRow("7.12 personal data") << "7.12 (stable)" << QByteArray("=last-name=Silva") << unknown;
    QTest::addRow("7.12 caller-id") << "7.12 (stable)" << QByteArray("=caller-id=bind") << QString();
}

void CommandTest::userManagerWords()
{
    QFETCH(QString, version);
    QFETCH(QByteArray, word);
    QFETCH(QString, refusal);
    SimFixture sim(routerOf(version));
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    const QByteArray menu = version.startsWith(u'7') ? "/user-manager/user" : "/tool/user-manager/user";
    const QByteArray nameWord = version.startsWith(u'6') ? "=username=ana" : "=name=ana";
    const QStringList answer = sim.call({menu + "/add", nameWord, "=password=p", word});
    if (refusal.isEmpty()) {
        QCOMPARE(answer, QStringList{QStringLiteral("!done =ret=*9")});
        QVERIFY2(sim.call({menu + "/print"}).value(0).contains(QString::fromUtf8(word)),
                 qPrintable(answer[0]));
    } else {
        QCOMPARE(answer, trap(refusal));
        QVERIFY(sim.router().state().userManagerUsers.isEmpty());
    }
}

void CommandTest::activation_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QByteArray>("nameWord");
    QTest::addColumn<QByteArray>("userWord");
    QTest::addColumn<QByteArray>("otherUserWord");
    QTest::addRow("5.25") << "5.25" << QByteArray("=name=ana") << QByteArray("=user=ana")
                          << QByteArray("=numbers=*9");
    QTest::addRow("6.1") << "6.1" << QByteArray("=name=ana") << QByteArray("=user=ana")
                         << QByteArray("=numbers=*9");
    QTest::addRow("6.2") << "6.2" << QByteArray("=name=ana") << QByteArray("=numbers=*9")
                         << QByteArray("=user=ana");
    QTest::addRow("6.48") << "6.48.6 (stable)" << QByteArray("=username=ana") << QByteArray("=numbers=*9")
                          << QByteArray("=user=ana");
}

void CommandTest::activation()
{
    QFETCH(QString, version);
    QFETCH(QByteArray, nameWord);
    QFETCH(QByteArray, userWord);
    QFETCH(QByteArray, otherUserWord);
    SimFixture sim(routerOf(version));
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    const QByteArray activate = "/tool/user-manager/user/create-and-activate-profile";
    QCOMPARE(retOf(sim.call({"/tool/user-manager/user/add", nameWord, "=password=p", "=customer=admin"})),
             QByteArray("*9"));

    QCOMPARE(sim.call({activate, otherUserWord, "=customer=admin", "=profile=7dias"}),
             trap(QStringLiteral("unknown parameter")));
    QCOMPARE(sim.call({activate, userWord, "=customer=admin", "=profile=30dias"}),
             trap(QStringLiteral("input does not match any value of profile")));
    QCOMPARE(sim.call({activate, userWord, "=customer=bob", "=profile=7dias"}),
             trap(QStringLiteral("input does not match any value of customer")));
    QCOMPARE(sim.call({activate, userWord + "x", "=customer=admin", "=profile=7dias"}),
             trap(QStringLiteral("no such item")));
    QVERIFY(sim.router().state().userManagerUsers.value(0).actualProfile.isEmpty());

    QCOMPARE(sim.call({activate, userWord, "=customer=admin", "=profile=7dias"}), Done);
    QCOMPARE(sim.router().state().userManagerUsers.value(0).actualProfile, QStringLiteral("7dias"));
    const QByteArray nameQuery = "?" + nameWord.mid(1);
    QVERIFY(sim.call({"/tool/user-manager/user/print", nameQuery, "?customer=admin"})
                .value(0)
                .endsWith(u" =customer=admin =actual-profile=7dias"));
}

void CommandTest::profileAssignmentOnSeven()
{
    SimFixture sim(routerWithVersion(QStringLiteral("7.12 (stable)")));
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    const QByteArray id =
        retOf(sim.call({"/user-manager/user/add", "=name=ana", "=password=p", "=caller-id=bind"}));
    QCOMPARE(id, QByteArray("*8"));

    QCOMPARE(sim.call({"/user-manager/user-profile/add", "=user=ana", "=profile=30dias"}),
             trap(QStringLiteral("input does not match any value of profile")));
    QCOMPARE(sim.call({"/user-manager/user-profile/add", "=user=bia", "=profile=1dia"}),
             trap(QStringLiteral("input does not match any value of user")));
    QCOMPARE(sim.call({"/user-manager/user-profile/add", "=user=ana", "=profile=1dia"}),
             QStringList{QStringLiteral("!done =ret=*9")});
    const RouterState state = sim.router().state();
    QCOMPARE(state.userProfiles.size(), 1);
    QCOMPARE(state.userProfiles[0].user, QStringLiteral("ana"));
    QCOMPARE(state.userProfiles[0].profile, QStringLiteral("1dia"));
    QCOMPARE(sim.call({"/user-manager/user-profile/print", "?user=ana"}),
             (QStringList{QStringLiteral("!re =.id=*9 =user=ana =profile=1dia"), QStringLiteral("!done")}));
    // RouterOS 7 prints no customer and no activated profile.
    QCOMPARE(sim.call({"/user-manager/user/print", "?name=ana"}),
             (QStringList{QStringLiteral("!re =.id=*8 =name=ana =password=p =caller-id=bind"),
                          QStringLiteral("!done")}));
    QCOMPARE(
        sim.call({"/tool/user-manager/user/create-and-activate-profile", "=numbers=*8", "=profile=1dia"}),
        trap(QStringLiteral("no such command prefix")));
}

void CommandTest::scriptsAndSchedulers()
{
    SimFixture sim;
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    const QByteArray source = longScript();

    QCOMPARE(sim.call({"/system/script/print", "?name=wifiTicketer"}), Done);
    QCOMPARE(sim.call({"/system/scheduler/print", "?name=wifiTicketer"}), Done);
    const QByteArray script =
        retOf(sim.call({"/system/script/add", "=name=wifiTicketer", "=source=" + source}));
    QCOMPARE(script, QByteArray("*8"));
    QCOMPARE(sim.call({"/system/script/print", "?name=wifiTicketer"}),
             (QStringList{QString::fromUtf8("!re =.id=*8 =name=wifiTicketer =source=" + source),
                          QStringLiteral("!done")}));
    QCOMPARE(sim.call({"/system/script/set", "=.id=" + script, "=source=:log info new"}), Done);
    QCOMPARE(sim.router().state().scripts.value(0).source, QStringLiteral(":log info new"));

    const QByteArray entry = retOf(sim.call(
        {"/system/scheduler/add", "=name=wifiTicketer", "=on-event=wifiTicketer", "=interval= 00:10:00"}));
    QCOMPARE(entry, QByteArray("*9"));
    QCOMPARE(sim.call({"/system/scheduler/set", "=.id=" + entry, "=on-event=wifiTicketer",
                       "=interval=1d 00:00:00"}),
             Done);
    QCOMPARE(sim.call({"/system/scheduler/print", "?name=wifiTicketer"}),
             (QStringList{QStringLiteral(
                              "!re =.id=*9 =name=wifiTicketer =on-event=wifiTicketer =interval=1d 00:00:00"),
                          QStringLiteral("!done")}));
    QCOMPARE(sim.call({"/system/scheduler/remove", "=.id=" + entry}), Done);
    QCOMPARE(sim.call({"/system/script/remove", "=numbers=" + script}), Done);
    QVERIFY(sim.router().state().scripts.isEmpty());
    QVERIFY(sim.router().state().schedulers.isEmpty());
}

void CommandTest::tagIsEchoed_data()
{
    QTest::addColumn<bool>("loggedIn");
    QTest::addColumn<QByteArrayList>("command");
    QTest::addColumn<QStringList>("answer");

    QTest::addRow("print, on every !re")
        << true << QByteArrayList{"/ip/hotspot/user/profile/print", ".tag=7"}
        << QStringList{QStringLiteral("!re =.id=*2 =name=default .tag=7"),
                       QStringLiteral("!re =.id=*3 =name=1hora .tag=7"), QStringLiteral("!done .tag=7")};
    QTest::addRow("trap and its done")
        << true << QByteArrayList{"/ip/hotspot/user/remove", "=.id=*77", ".tag=a"}
        << QStringList{QStringLiteral("!trap =message=no such item .tag=a"), QStringLiteral("!done .tag=a")};
    QTest::addRow("add") << true << QByteArrayList{"/ip/hotspot/user/add", "=name=x", ".tag=b"}
                         << QStringList{QStringLiteral("!done =ret=*8 .tag=b")};
    QTest::addRow("tag before the attributes")
        << true << QByteArrayList{"/ip/hotspot/user/add", ".tag=c", "=name=x"}
        << QStringList{QStringLiteral("!done =ret=*8 .tag=c")};
    QTest::addRow("not logged in") << false << QByteArrayList{"/ip/hotspot/user/print", ".tag=n"}
                                   << QStringList{QStringLiteral("!trap =message=not logged in .tag=n"),
                                                  QStringLiteral("!done .tag=n")};
    QTest::addRow("fatal") << false << QByteArrayList{"/quit", ".tag=q"}
                           << QStringList{
                                  QStringLiteral("!fatal =message=session terminated on request .tag=q")};
    // An attribute named ".tag" is no tag: the add does not know it, and
    // nothing is echoed.
    QTest::addRow("attribute =.tag= tags nothing")
        << true << QByteArrayList{"/ip/hotspot/user/add", "=name=x", "=.tag=d"}
        << QStringList{QStringLiteral("!trap =message=unknown parameter"), QStringLiteral("!done")};
}

void CommandTest::tagIsEchoed()
{
    QFETCH(bool, loggedIn);
    QFETCH(QByteArrayList, command);
    QFETCH(QStringList, answer);
    SimFixture sim;
    QVERIFY(sim.start());
    if (loggedIn)
        QVERIFY(sim.login());
    QCOMPARE(sim.call(command), answer);
}

void CommandTest::quitEndsSession()
{
    SimFixture sim;
    QVERIFY(sim.start());
    QCOMPARE(sim.call({"/quit"}),
             QStringList{QStringLiteral("!fatal =message=session terminated on request")});
    QVERIFY(sim.client().waitForClosed());
}

WIFITICKETER_TEST(CommandTest)
#include "commandtest.moc"
