#include "apisentence.h"
#include "simfixture.h"
#include "testmain.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>

using namespace routersim;

namespace {

RouterBehaviour withLatency(int latencyMs, bool outOfOrderTags = false)
{
    RouterBehaviour behaviour;
    behaviour.latencyMs = latencyMs;
    behaviour.outOfOrderTags = outOfOrderTags;
    return behaviour;
}

QByteArray sentences(const QList<QByteArrayList> &commands)
{
    QByteArray bytes;
    for (const QByteArrayList &words : commands)
        bytes += apiSentence(words);
    return bytes;
}

// Sends the bytes `chunk` at a time (0: in one write), pausing between chunks
// so the router reads them apart.
void sendInChunks(RawClient &client, const QByteArray &bytes, int chunk)
{
    if (chunk == 0) {
        client.sendBytes(bytes);
        return;
    }
    for (qsizetype pos = 0; pos < bytes.size(); pos += chunk) {
        client.sendBytes(bytes.mid(pos, chunk));
        QThread::msleep(2);
    }
}

} // namespace

class PipelineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answeredInOrder_data();
    void answeredInOrder();
    void latencyIsADelayLine();
    void outOfOrderTags_data();
    void outOfOrderTags();
    void addFaultsAndIgnoredTags();
};

void PipelineTest::answeredInOrder_data()
{
    QTest::addColumn<int>("chunk");
    QTest::addRow("one write") << 0;
    QTest::addRow("split inside words") << 7;
    QTest::addRow("byte by byte") << 1;
}

void PipelineTest::answeredInOrder()
{
    QFETCH(int, chunk);
    SimFixture sim;
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    // Sent without waiting: the second add collides with the first, the
    // print sees the first; without the out-of-order switch a tagged answer
    // keeps its place too.
    sendInChunks(sim.client(),
                 sentences({{"/ip/hotspot/user/add", "=name=a", "=profile=default"},
                            {"/ip/hotspot/user/add", "=name=a", "=profile=default"},
                            {"/ip/hotspot/user/print", "?name=a", ".tag=p"}}),
                 chunk);
    QCOMPARE(sim.client().readAnswer(), QStringList{QStringLiteral("!done =ret=*8")});
    QCOMPARE(sim.client().readAnswer(),
             (QStringList{QStringLiteral("!trap =message=failure: already have user with this name"),
                          QStringLiteral("!done")}));
    QCOMPARE(sim.client().readAnswer(),
             (QStringList{QStringLiteral("!re =.id=*8 =name=a =profile=default =disabled=false .tag=p"),
                          QStringLiteral("!done .tag=p")}));
    QCOMPARE(sim.router().log().size(), 4);
}

void PipelineTest::latencyIsADelayLine()
{
    SimFixture sim(defaultRouterState(), withLatency(100));
    QVERIFY(sim.start());
    // Both ends count whole milliseconds, so an answer may seem a little early.
    const qint64 earliestMs = 95;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(sim.login());
    QVERIFY2(clock.elapsed() >= earliestMs, qPrintable(QString::number(clock.elapsed())));

    // 20 adds sent together are all answered one latency after they arrived,
    // in order, not 20 latencies later.
    QList<QByteArrayList> adds;
    for (int i = 1; i <= 20; ++i) {
        const QByteArray name = "u" + QByteArray::number(i);
        adds.append(
            {"/ip/hotspot/user/add", "=name=" + name, "=profile=default", ".tag=" + QByteArray::number(i)});
    }
    clock.restart();
    sim.client().sendBytes(sentences(adds));
    for (int i = 1; i <= 20; ++i) {
        // Ids count on in hexadecimal from *8: *8, *9, *A ... *1B.
        const QString id = QString::number(7 + i, 16).toUpper();
        QCOMPARE(sim.client().readAnswer(),
                 QStringList{QStringLiteral("!done =ret=*%1 .tag=%2").arg(id).arg(i)});
    }
    const qint64 batchMs = clock.elapsed();
    QVERIFY2(batchMs >= earliestMs && batchMs < 1000, qPrintable(QString::number(batchMs)));
    QCOMPARE(sim.router().state().hotspotUsers.size(), 20);

    // A single untagged command still waits its latency.
    clock.restart();
    QCOMPARE(sim.call({"/system/script/print"}), QStringList{QStringLiteral("!done")});
    QVERIFY2(clock.elapsed() >= earliestMs, qPrintable(QString::number(clock.elapsed())));
}

void PipelineTest::outOfOrderTags_data()
{
    QTest::addColumn<int>("latencyMs");
    QTest::addRow("no latency") << 0;
    QTest::addRow("50 ms latency") << 50;
}

void PipelineTest::outOfOrderTags()
{
    QFETCH(int, latencyMs);
    SimFixture sim(defaultRouterState(), withLatency(latencyMs, true));
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    // Tagged answers sent together come back in reverse, each whole; the
    // untagged one keeps its place between them.
    sim.client().sendBytes(sentences({{"/ip/hotspot/user/profile/print", ".tag=a"},
                                      {"/ip/hotspot/user/add", "=name=x", ".tag=b"},
                                      {"/system/script/print"},
                                      {"/ip/hotspot/user/remove", "=.id=*77", ".tag=c"}}));
    QCOMPARE(sim.client().readAnswer(), (QStringList{QStringLiteral("!trap =message=no such item .tag=c"),
                                                     QStringLiteral("!done .tag=c")}));
    QCOMPARE(sim.client().readAnswer(), QStringList{QStringLiteral("!done =ret=*8 .tag=b")});
    QCOMPARE(sim.client().readAnswer(), QStringList{QStringLiteral("!done")});
    QCOMPARE(sim.client().readAnswer(),
             (QStringList{QStringLiteral("!re =.id=*2 =name=default .tag=a"),
                          QStringLiteral("!re =.id=*3 =name=1hora .tag=a"), QStringLiteral("!done .tag=a")}));

    // A tagged command that ends the connection is answered last, after
    // everything sent before it.
    sim.client().sendBytes(sentences({{"/system/script/print", ".tag=d"}, {"/quit", ".tag=e"}}));
    QCOMPARE(sim.client().readAnswer(), QStringList{QStringLiteral("!done .tag=d")});
    QCOMPARE(sim.client().readAnswer(),
             QStringList{QStringLiteral("!fatal =message=session terminated on request .tag=e")});
    QVERIFY(sim.client().waitForClosed());
}


void PipelineTest::addFaultsAndIgnoredTags()
{
    RouterBehaviour behaviour;
    behaviour.collideAddAt = 2;
    behaviour.refuseAddsFrom = 4;
    behaviour.ignoreTags = true;
    SimFixture sim(defaultRouterState(), behaviour);
    QVERIFY(sim.start());
    QVERIFY(sim.login());
    // The second user add collides although its name is free, the fourth and
    // later are refused; other adds do not count; no answer carries the tag.
    QCOMPARE(sim.call({"/ip/hotspot/user/add", "=name=a", "=profile=default", ".tag=1"}),
             QStringList{QStringLiteral("!done =ret=*8")});
    QCOMPARE(sim.call({"/ip/hotspot/user/add", "=name=b", "=profile=default", ".tag=2"}),
             (QStringList{QStringLiteral("!trap =message=failure: already have user with this name"),
                          QStringLiteral("!done")}));
    QCOMPARE(sim.call({"/system/script/add", "=name=s", "=source=:log info x"}),
             QStringList{QStringLiteral("!done =ret=*9")});
    QCOMPARE(sim.call({"/ip/hotspot/user/add", "=name=b", "=profile=default"}),
             QStringList{QStringLiteral("!done =ret=*A")});
    for (const QByteArray name : {"c", "d"}) {
        QCOMPARE(sim.call({"/ip/hotspot/user/add", "=name=" + name, "=profile=default"}),
                 (QStringList{QStringLiteral("!trap =message=not enough permissions (9)"),
                              QStringLiteral("!done")}));
    }
    QCOMPARE(sim.router().state().hotspotUsers.size(), 2);
}

WIFITICKETER_TEST(PipelineTest)
#include "pipelinetest.moc"
