#include "simfixture.h"
#include "testmain.h"

#include "routeros/apisentence.h"
#include "routeros/codec.h"
#include "routeros/pipeline.h"
#include "routeros/session.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

using namespace routersim;

Q_DECLARE_METATYPE(routersim::LoginMode)
Q_DECLARE_METATYPE(LoginResult)

namespace {

ApiSentence command(const QByteArrayList &words)
{
    ApiSentence sentence;
    for (const QByteArray &word : words)
        addWord(sentence, word);
    return sentence;
}

std::unique_ptr<ApiTransport> connectTo(const SimFixture &sim, int timeoutMs = 5000, int ceilingMs = 60000)
{
    return connectSocket(QStringLiteral("127.0.0.1"), sim.port(), ApiTimeLimits{timeoutMs, ceilingMs});
}

// From now on the router carries out the command (every one, or only this
// one) and answers it with a "!re" every 100 ms, without end.
void answerWithoutEnd(SimFixture &sim, const QString &command = {})
{
    RouterBehaviour endless = sim.router().behaviour();
    endless.endlessReMs = 100;
    endless.faultCommand = command;
    sim.router().setBehaviour(endless);
}

} // namespace

// The program's own client (connection, login, codec) against the simulator.
class ProgramClientTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void login_data();
    void login();
    void readsPrintReply();
    void readsTrapReply();
    void closeSessionQuits();
    void stalledRouter();
    void slowRouter();
    void connectionClosedByRouter();
    void tricklingRouterIsGivenUp();
    void everySentenceHasTheTimeOut();
    void endlessReplyIsGivenUp();
    void endlessReplyEndsThePipeline();
};

void ProgramClientTest::login_data()
{
    QTest::addColumn<LoginMode>("mode");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<LoginResult>("result");
    QTest::addColumn<QString>(
        "secondSentence"); // pattern of the words sent after the bare "/login", joined by blanks

    // Routers that give a challenge get the response and no password.
    const QString challengeForm = QStringLiteral("^/login =name=admin =response=00[0-9a-f]{32}$");
    const QString plainForm = QStringLiteral("^/login =name=admin =password=%1$");
    for (const auto &[mode, name] :
         {std::pair{LoginMode::Challenge, "challenge"}, std::pair{LoginMode::Both, "both"},
          std::pair{LoginMode::Plain, "plain"}, std::pair{LoginMode::PlainTrap, "plain-trap"}}) {
        const bool challenged = mode == LoginMode::Challenge || mode == LoginMode::Both;
        QTest::addRow("%s", name) << mode << QByteArray("pw") << LoginResult::LoggedIn
                                  << (challenged ? challengeForm : plainForm.arg(QStringLiteral("pw")));
        QTest::addRow("%s, wrong password", name)
            << mode << QByteArray("px") << LoginResult::Refused
            << (challenged ? challengeForm : plainForm.arg(QStringLiteral("px")));
    }
    QTest::addRow("both, empty password")
        << LoginMode::Both << QByteArray() << LoginResult::Refused << challengeForm;
}

void ProgramClientTest::login()
{
    QFETCH(LoginMode, mode);
    QFETCH(QByteArray, password);
    QFETCH(LoginResult, result);
    QFETCH(QString, secondSentence);
    SimFixture sim(routerWithUser(QStringLiteral("admin"), QStringLiteral("pw")), {mode});
    QVERIFY(sim.start(false));
    std::unique_ptr<ApiTransport> transport = connectTo(sim);
    QVERIFY(transport);
    QCOMPARE(::login(*transport, "admin", password), result);

    const QList<Sentence> sent = sim.router().sentencesOf(1);
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent[0], Sentence{"/login"});
    const QString second = QString::fromUtf8(sent[1].join(' '));
    QVERIFY2(QRegularExpression(secondSentence).match(second).hasMatch(), qPrintable(second));
}

void ProgramClientTest::readsPrintReply()
{
    RouterState state = defaultRouterState();
    // Values longer than a receive chunk.
    for (const char *name : {"a", "b", "c"})
        state.hotspotUsers.append(
            hotspotUser(QString::fromLatin1(name), QStringLiteral("default"), QString(3000, u'7')));
    SimFixture sim(state);
    QVERIFY(sim.start(false));
    std::unique_ptr<ApiTransport> transport = connectTo(sim);
    QVERIFY(transport && ::login(*transport, "admin", "") == LoginResult::LoggedIn);

    writeSentence(*transport, command({"/ip/hotspot/user/print"}));
    const ApiReply reply = readReply(*transport);
    QCOMPARE(reply.sentences.size(), 4);
    QCOMPARE(reply.sentences[3].kind, ReplyKind::Done);
    QCOMPARE(attributeValue(reply.sentences[0], QStringLiteral("=.id=")), QStringLiteral("*8"));
    QCOMPARE(attributeValue(reply.sentences[2], QStringLiteral("=name=")), QStringLiteral("c"));
    QCOMPARE(attributeValue(reply.sentences[1], QStringLiteral("=comment=")), QString(3000, u'7'));

    writeSentence(*transport, command({"/ip/hotspot/user/print", "?name=nobody"}));
    const ApiReply none = readReply(*transport);
    QCOMPARE(none.sentences.size(), 1);
    QCOMPARE(none.sentences[0].kind, ReplyKind::Done);
}

void ProgramClientTest::readsTrapReply()
{
    SimFixture sim;
    QVERIFY(sim.start(false));
    std::unique_ptr<ApiTransport> transport = connectTo(sim);
    QVERIFY(transport && ::login(*transport, "admin", "") == LoginResult::LoggedIn);
    const ApiSentence add = command({"/ip/hotspot/user/add", "=name=ana", "=password=p", "=profile=default"});
    writeSentence(*transport, add);
    QCOMPARE(attributeValue(readReply(*transport).sentences.value(0), QStringLiteral("=ret=")),
             QStringLiteral("*8"));

    writeSentence(*transport, add);
    const ApiReply refused = readReply(*transport);
    QCOMPARE(refused.sentences.size(), 1);
    QCOMPARE(refused.sentences[0].kind, ReplyKind::Trap);
    QCOMPARE(attributeValue(refused.sentences[0], QStringLiteral("=message=")),
             QStringLiteral("failure: already have user with this name"));
    // The "!done" after the trap was taken with it: the next reply is the print's.
    writeSentence(*transport, command({"/ip/hotspot/user/print", "?name=ana"}));
    const ApiReply print = readReply(*transport);
    QCOMPARE(print.sentences.size(), 2);
    QCOMPARE(attributeValue(print.sentences[0], QStringLiteral("=.id=")), QStringLiteral("*8"));
}

void ProgramClientTest::closeSessionQuits()
{
    SimFixture sim;
    QVERIFY(sim.start(false));
    ApiConnection connection{connectTo(sim)};
    QVERIFY(connection.transport && ::login(*connection.transport, "admin", "") == LoginResult::LoggedIn);
    QElapsedTimer clock;
    clock.start();
    closeSession(connection);
    // The router's "!fatal" and its closing end the wait at once.
    QVERIFY(clock.elapsed() < 3000);
    QVERIFY(!connection.transport);
    QCOMPARE(sim.router().sentencesOf(1).last(), Sentence{"/quit"});
}

void ProgramClientTest::stalledRouter()
{
    SimFixture sim(defaultRouterState(), {LoginMode::Both, false, true});
    QVERIFY(sim.start(false));
    std::unique_ptr<ApiTransport> transport = connectTo(sim, 300);
    QVERIFY(transport);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(::login(*transport, "admin", ""), LoginResult::NoAnswer);
    QVERIFY(clock.elapsed() < 3000);
    QCOMPARE(sim.router().sentencesOf(1), QList<Sentence>{{"/login"}});
}

void ProgramClientTest::slowRouter()
{
    RouterBehaviour slow;
    slow.latencyMs = 200;
    SimFixture sim(defaultRouterState(), slow);
    QVERIFY(sim.start(false));
    std::unique_ptr<ApiTransport> transport = connectTo(sim, 2000);
    QVERIFY(transport && ::login(*transport, "admin", "") == LoginResult::LoggedIn);
    writeSentence(*transport, command({"/system/resource/print"}));
    QCOMPARE(attributeValue(readReply(*transport).sentences.value(0), QStringLiteral("=version=")),
             QStringLiteral("6.48.6 (stable)"));
}

void ProgramClientTest::connectionClosedByRouter()
{
    RouterBehaviour closing;
    closing.closeAfter = 3;
    SimFixture sim(defaultRouterState(), closing);
    QVERIFY(sim.start(false));
    std::unique_ptr<ApiTransport> transport = connectTo(sim);
    QVERIFY(transport && ::login(*transport, "admin", "") == LoginResult::LoggedIn);
    writeSentence(*transport, command({"/system/resource/print"}));
    QCOMPARE(readReply(*transport).sentences.size(), 2);
    // The router has closed: the next reply is empty, and comes at once.
    QElapsedTimer clock;
    clock.start();
    writeSentence(*transport, command({"/system/resource/print"}));
    QCOMPARE(readReply(*transport).sentences.size(), 0);
    QVERIFY(clock.elapsed() < 3000);
}

void ProgramClientTest::tricklingRouterIsGivenUp()
{
    RouterState state = defaultRouterState();
    for (int i = 1; i <= 8; ++i)
        state.hotspotUsers.append(hotspotUser(QStringLiteral("cliente%1").arg(i), QStringLiteral("default"),
                                              QStringLiteral("201001010000")));
    SimFixture sim(state);
    QVERIFY(sim.start(false));
    constexpr int TimeoutMs = 400;
    std::unique_ptr<ApiTransport> transport = connectTo(sim, TimeoutMs);
    QVERIFY(transport && ::login(*transport, "admin", "") == LoginResult::LoggedIn);

    // From here on the router sends a byte every 50 ms, each well within the
    // time-out; the print's reply is over 600 bytes, half a minute of them.
    RouterBehaviour trickling = sim.router().behaviour();
    trickling.trickleMs = 50;
    sim.router().setBehaviour(trickling);
    writeSentence(*transport, command({"/ip/hotspot/user/print"}));
    QElapsedTimer clock;
    clock.start();
    const ApiReply reply = readReply(*transport);
    const qint64 waited = clock.elapsed();
    QVERIFY2(waited < 2 * TimeoutMs, qPrintable(QString::number(waited)));
    // Not even the first sentence (about 80 bytes) came in time.
    QVERIFY(reply.sentences.isEmpty());

    // The stream has ended: nothing more goes out, and what the router would
    // go on sending is not taken in.
    writeSentence(*transport, command({"/system/resource/print"}));
    QThread::msleep(300);
    QCOMPARE(transport->pendingBytes(), 0);
    QVERIFY(readReply(*transport).sentences.isEmpty());
    QCOMPARE(sim.router().sentencesOf(1).size(), 3);
}

void ProgramClientTest::everySentenceHasTheTimeOut()
{
    RouterState state = defaultRouterState();
    for (int i = 1; i <= 6; ++i)
        state.hotspotUsers.append(hotspotUser(QStringLiteral("c%1").arg(i)));
    SimFixture sim(state);
    QVERIFY(sim.start(false));
    constexpr int TimeoutMs = 1500;
    std::unique_ptr<ApiTransport> transport = connectTo(sim, TimeoutMs);
    QVERIFY(transport && ::login(*transport, "admin", "") == LoginResult::LoggedIn);

    // A byte every 10 ms: each sentence of about 55 bytes comes well within the
    // time-out, the whole reply of over 300 bytes does not.
    RouterBehaviour trickling = sim.router().behaviour();
    trickling.trickleMs = 10;
    sim.router().setBehaviour(trickling);
    writeSentence(*transport, command({"/ip/hotspot/user/print"}));
    QElapsedTimer clock;
    clock.start();
    const ApiReply reply = readReply(*transport);
    QVERIFY2(clock.elapsed() > TimeoutMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(reply.sentences.size(), 7);
    QCOMPARE(attributeValue(reply.sentences[0], QStringLiteral("=name=")), QStringLiteral("c1"));
    QCOMPARE(attributeValue(reply.sentences[5], QStringLiteral("=name=")), QStringLiteral("c6"));
    QCOMPARE(reply.sentences[6].kind, ReplyKind::Done);
}

void ProgramClientTest::endlessReplyIsGivenUp()
{
    SimFixture sim;
    QVERIFY(sim.start(false));
    constexpr int CeilingMs = 2000;
    std::unique_ptr<ApiTransport> transport = connectTo(sim, 1000, CeilingMs);
    QVERIFY(transport && ::login(*transport, "admin", "") == LoginResult::LoggedIn);
    answerWithoutEnd(sim);

    QElapsedTimer clock;
    clock.start();
    writeSentence(*transport, command({"/ip/hotspot/user/add", "=name=a", "=profile=default"}));
    const ApiReply reply = readReply(*transport);
    // Past the time-out of one sentence, at the ceiling (whose own clock may
    // round a millisecond before this one).
    QVERIFY2(clock.elapsed() >= CeilingMs * 9 / 10, qPrintable(QString::number(clock.elapsed())));
    // Many sentences, each well within the time-out: the ceiling ended it.
    QVERIFY2(reply.sentences.size() > 5, qPrintable(QString::number(reply.sentences.size())));
    for (const ApiSentence &sentence : reply.sentences)
        QCOMPARE(sentence.words, QByteArrayList{"!re"});
    QCOMPARE(sim.router().state().hotspotUsers.size(), 1);

    // The stream has ended: the next reply is empty, at once.
    writeSentence(*transport, command({"/system/resource/print"}));
    QVERIFY(readReply(*transport).sentences.isEmpty());
    QCOMPARE(sim.router().sentencesOf(1).size(), 3);
}

// The other commands of a pipeline are answered while one reply goes on; that
// one ends the pipeline at its ceiling.
void ProgramClientTest::endlessReplyEndsThePipeline()
{
    SimFixture sim;
    QVERIFY(sim.start(false));
    constexpr int CeilingMs = 2000;
    std::unique_ptr<ApiTransport> transport = connectTo(sim, 1000, CeilingMs);
    QVERIFY(transport && ::login(*transport, "admin", "") == LoginResult::LoggedIn);
    answerWithoutEnd(sim, QStringLiteral("/ip/hotspot/user/add"));

    ApiPipeline pipeline(*transport);
    QElapsedTimer clock;
    clock.start();
    pipeline.send({QStringLiteral("/ip/hotspot/user/add"), QStringLiteral("=name=a"),
                   QStringLiteral("=profile=default")});
    pipeline.send({QStringLiteral("/ip/hotspot/user/print")});
    pipeline.send({QStringLiteral("/system/resource/print")});
    QList<quint32> answered;
    while (const std::optional<TaggedReply> reply = pipeline.next()) {
        QCOMPARE(reply->reply.sentences.last().kind, ReplyKind::Done);
        answered << reply->tag;
    }
    // Past the time-out of one sentence, at the ceiling (whose own clock may
    // round a millisecond before this one).
    QVERIFY2(clock.elapsed() >= CeilingMs * 9 / 10, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(answered, (QList<quint32>{2, 3}));
    QVERIFY(pipeline.ended());
    QCOMPARE(pipeline.inFlight(), 1);
    QCOMPARE(sim.router().state().hotspotUsers.size(), 1);
}

WIFITICKETER_TEST(ProgramClientTest)
#include "programclienttest.moc"
