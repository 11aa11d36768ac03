#include "apisentence.h"
#include "simfixture.h"
#include "testmain.h"

#include "routersim/statejson.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTest>

using namespace routersim;

namespace {

RouterBehaviour faults(void (*change)(RouterBehaviour &))
{
    RouterBehaviour behaviour;
    change(behaviour);
    return behaviour;
}

// The bytes of an answer as they come in, and the time from the first to the last.
struct Arrival
{
    QByteArray bytes;
    qint64 spreadMs = 0;
};

Arrival readArrival(QTcpSocket &socket, qsizetype size)
{
    Arrival arrival;
    QElapsedTimer clock;
    while (arrival.bytes.size() < size && socket.waitForReadyRead(5000)) {
        if (!clock.isValid())
            clock.start();
        arrival.bytes += socket.readAll();
    }
    arrival.spreadMs = clock.isValid() ? clock.elapsed() : 0;
    return arrival;
}

} // namespace

class FaultTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusedAdds_data();
    void refusedAdds();
    void forgottenAdds();
    void stall();
    void closeAfter_data();
    void closeAfter();
    void latency();
    void trickle();
    void endlessReplies();
    void faultCommand();
    void unreadableInputCloses();
};

void FaultTest::refusedAdds_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QByteArrayList>("add");
    QTest::addRow("hotspot user") << "6.48.6 (stable)"
                                  << QByteArrayList{"/ip/hotspot/user/add", "=name=a", "=profile=default"};
    QTest::addRow("User Manager user")
        << "6.48.6 (stable)"
        << QByteArrayList{"/tool/user-manager/user/add", "=username=a", "=customer=admin"};
    QTest::addRow("RouterOS 7 user") << "7.12" << QByteArrayList{"/user-manager/user/add", "=name=a"};
    QTest::addRow("script") << "6.48.6 (stable)"
                            << QByteArrayList{"/system/script/add", "=name=a", "=source=x"};
    QTest::addRow("scheduler") << "6.48.6 (stable)" << QByteArrayList{"/system/scheduler/add", "=name=a"};
}

void FaultTest::refusedAdds()
{
    QFETCH(QString, version);
    QFETCH(QByteArrayList, add);
    SimFixture sim(routerWithVersion(version), faults([](RouterBehaviour &b) { b.refuseAdds = true; }));
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    const QJsonObject before = stateToJson(sim.router().state());
    QCOMPARE(sim.call(add), (QStringList{QStringLiteral("!trap =message=not enough permissions (9)"),
                                         QStringLiteral("!done")}));
    QCOMPARE(stateToJson(sim.router().state()), before);
    // Everything else is answered as usual.
    QCOMPARE(sim.call({"/system/script/print"}), QStringList{QStringLiteral("!done")});

    RouterBehaviour accepting = sim.router().behaviour();
    accepting.refuseAdds = false;
    sim.router().setBehaviour(accepting);
    QVERIFY(sim.call(add).value(0).startsWith(u"!done =ret="));
}

void FaultTest::forgottenAdds()
{
    SimFixture sim(defaultRouterState(), faults([](RouterBehaviour &b) { b.forgetAdds = true; }));
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    const QJsonObject before = stateToJson(sim.router().state());
    QCOMPARE(sim.call({"/ip/hotspot/user/add", "=name=a", "=profile=default"}),
             QStringList{QStringLiteral("!done =ret=*8")});
    // The confirmed user cannot be found, and nothing but the id counter moved.
    QCOMPARE(sim.call({"/ip/hotspot/user/print", "?name=a"}), QStringList{QStringLiteral("!done")});
    QJsonObject after = stateToJson(sim.router().state());
    QCOMPARE(after.take(QStringLiteral("nextId")).toInt(), 9);
    after.insert(QStringLiteral("nextId"), before.value(QStringLiteral("nextId")));
    QCOMPARE(after, before);
}

void FaultTest::stall()
{
    SimFixture sim(defaultRouterState(), faults([](RouterBehaviour &b) { b.stall = true; }));
    QVERIFY(sim.start());
    QCOMPARE(sim.client().call({"/login", "=name=admin", "=password="}, 300),
             QStringList{QStringLiteral("<no answer>")});
    // Read and logged, but neither answered nor acted on.
    QCOMPARE(sim.router().sentencesOf(1), (QList<Sentence>{{"/login", "=name=admin", "=password="}}));
    QCOMPARE(sim.client().call({"/ip/hotspot/user/add", "=name=a"}, 300),
             QStringList{QStringLiteral("<no answer>")});
    QVERIFY(sim.router().state().hotspotUsers.isEmpty());

    // Switched off on a live connection, later sentences are answered; the
    // stalled ones never are.
    sim.router().setBehaviour({});
    QVERIFY(sim.login());
    QCOMPARE(sim.call({"/ip/hotspot/user/print"}), QStringList{QStringLiteral("!done")});
}

void FaultTest::closeAfter_data()
{
    QTest::addColumn<int>("count");
    QTest::addRow("1") << 1;
    QTest::addRow("3") << 3;
}

void FaultTest::closeAfter()
{
    QFETCH(int, count);
    SimFixture sim(defaultRouterState(), {LoginMode::Plain, false, false, count});
    QVERIFY(sim.start());
    // Every connection has its own count: a second one is served as long.
    for (int connection = 1; connection <= 2; ++connection) {
        RawClient client;
        QVERIFY(client.connectTo(sim.port()));
        QCOMPARE(client.call({"/login", "=name=admin", "=password="}), QStringList{QStringLiteral("!done")});
        for (int i = 1; i < count; ++i)
            QCOMPARE(client.call({"/system/script/print"}), QStringList{QStringLiteral("!done")});
        QVERIFY(client.waitForClosed());
        QCOMPARE(sim.router().log().size(), connection * count);
    }
}

void FaultTest::latency()
{
    SimFixture sim(defaultRouterState(), faults([](RouterBehaviour &b) { b.latencyMs = 300; }));
    QVERIFY(sim.start());
    QElapsedTimer clock;
    clock.start();
    QVERIFY(sim.login());
    QVERIFY2(clock.elapsed() >= 290, qPrintable(QString::number(clock.elapsed())));

    // Two commands sent together are answered in order.
    sim.client().sendSentence({"/ip/hotspot/user/add", "=name=a", "=profile=default"});
    sim.client().sendSentence({"/ip/hotspot/user/print"});
    QCOMPARE(sim.client().readAnswer(), QStringList{QStringLiteral("!done =ret=*8")});
    QCOMPARE(sim.client().readAnswer().value(0),
             QStringLiteral("!re =.id=*8 =name=a =profile=default =disabled=false"));
}

void FaultTest::trickle()
{
    SimFixture sim(defaultRouterState(), faults([](RouterBehaviour &b) { b.trickleMs = 20; }));
    QVERIFY(sim.start(false));
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, sim.port());
    QVERIFY(socket.waitForConnected(5000));

    // The challenge answer is 45 bytes: "!done", then "=ret=" and 32 digits.
    socket.write(apiSentence({"/login"}));
    const Arrival slow = readArrival(socket, 45);
    QCOMPARE(slow.bytes.size(), 45);
    QCOMPARE(slow.bytes.first(12), QByteArray("\x05!done\x25=ret="));
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$"))
                .match(QString::fromLatin1(slow.bytes.sliced(12, 32)))
                .hasMatch());
    QCOMPARE(slow.bytes.back(), '\0');
    // Byte by byte, 20 ms apart: 44 pauses from the first byte to the last.
    QVERIFY2(slow.spreadMs >= 44 * 20 * 9 / 10, qPrintable(QString::number(slow.spreadMs)));

    // Switched off on the live connection, the next answer comes in one go.
    sim.router().setBehaviour({});
    socket.write(apiSentence({"/login"}));
    const Arrival fast = readArrival(socket, 45);
    QCOMPARE(fast.bytes.size(), 45);
    QVERIFY2(fast.spreadMs < 44 * 20 / 2, qPrintable(QString::number(fast.spreadMs)));
}

void FaultTest::endlessReplies()
{
    RouterState state = defaultRouterState();
    state.hotspotUsers.append(hotspotUser(QStringLiteral("ana")));
    SimFixture sim(state, faults([](RouterBehaviour &b) { b.endlessReMs = 30; }));
    QVERIFY(sim.start());
    // The login is answered as usual.
    QVERIFY(sim.login());

    // A command is carried out; its data comes, then "!re" after "!re", each
    // with the tag, and never the "!done".
    sim.client().sendSentence({"/ip/hotspot/user/print", ".tag=4"});
    QCOMPARE(sim.client().readSentence().value_or(QByteArrayList()).value(1), QByteArray("=.id=*8"));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(sim.client().readSentence(), std::optional(QByteArrayList{"!re", ".tag=4"}));
    sim.client().sendSentence({"/ip/hotspot/user/add", "=name=a", "=profile=default"});
    int untagged = 0;
    while (untagged < 3) {
        const std::optional<QByteArrayList> sentence = sim.client().readSentence();
        QVERIFY(sentence);
        // The print's reply goes on between them.
        QVERIFY(*sentence == QByteArrayList{"!re"} || *sentence == (QByteArrayList{"!re", ".tag=4"}));
        untagged += *sentence == QByteArrayList{"!re"};
    }
    QCOMPARE(sim.router().state().hotspotUsers.value(1).name, QStringLiteral("a"));
}

// Named, a command alone trickles and never ends; the login and the other
// commands are answered at once.
void FaultTest::faultCommand()
{
    SimFixture sim(defaultRouterState(), faults([](RouterBehaviour &b) {
                       b.endlessReMs = 30;
                       b.trickleMs = 400;
                       b.faultCommand = QStringLiteral("/ip/hotspot/user/add");
                   }));
    QVERIFY(sim.start());
    // Trickled, each of these 7-byte answers would take 2.4 s.
    QCOMPARE(sim.client().call({"/login", "=name=admin", "=password="}, 1000),
             QStringList{QStringLiteral("!done")});
    QCOMPARE(sim.client().call({"/system/script/print"}, 1000), QStringList{QStringLiteral("!done")});

    QElapsedTimer clock;
    clock.start();
    sim.client().sendSentence({"/ip/hotspot/user/add", "=name=a", "=profile=default"});
    // "!re" is 5 bytes: 4 pauses of 400 ms.
    QCOMPARE(sim.client().readSentence(), std::optional(QByteArrayList{"!re"}));
    QVERIFY2(clock.elapsed() >= 4 * 400 * 9 / 10, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(sim.router().state().hotspotUsers.size(), 1);
}

void FaultTest::unreadableInputCloses()
{
    SimFixture sim;
    QVERIFY(sim.start());
    sim.client().sendBytes(QByteArray::fromHex("062f6c6f67696ef8"));
    QVERIFY(sim.client().waitForClosed());
    QVERIFY(sim.router().log().isEmpty());
}

WIFITICKETER_TEST(FaultTest)
#include "faulttest.moc"
