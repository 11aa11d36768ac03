#include "testmain.h"
#include "wire.h"

#include "router/routercommand.h"
#include "routeros/codec.h"
#include "routeros/memorytransport.h"
#include "routeros/pipeline.h"
#include "routeros/session.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Bytes a router sends, and when (ms after the command went out).
struct Arrival
{
    qint64 atMs = 0;
    QByteArray bytes;
};
using Script = QList<Arrival>;

// A time-out of one second and a ceiling of ten: the times below are
// worked out by hand from these.
constexpr ApiTimeLimits Limits{1000, 10000};

// The sentence at each of the times.
Script sentencesAt(qint64 firstMs, qint64 stepMs, int count, const QByteArray &sentence)
{
    Script script;
    for (int i = 0; i < count; ++i)
        script.append({firstMs + i * stepMs, sentence});
    return script;
}

// The bytes one at a time, stepMs apart.
Script bytesAt(qint64 firstMs, qint64 stepMs, const QByteArray &bytes)
{
    Script script;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        script.append({firstMs + i * stepMs, bytes.sliced(i, 1)});
    return script;
}

QByteArray repeated(const QByteArray &bytes, int times)
{
    QByteArray all;
    for (int i = 0; i < times; ++i)
        all += bytes;
    return all;
}

void play(MemoryTransport &transport, const Script &script)
{
    transport.setLimits(Limits);
    for (const Arrival &arrival : script)
        transport.supplyAt(arrival.atMs, arrival.bytes);
}

QByteArrayList firstWords(const ApiReply &reply)
{
    QByteArrayList words;
    for (const ApiSentence &sentence : reply.sentences)
        words << sentence.words.value(0);
    return words;
}

QByteArrayList times(int count, const QByteArray &word)
{
    return QByteArrayList(count, word);
}

const QByteArray Re = wire({"!re"});
const QByteArray Done = wire({"!done"});

} // namespace

Q_DECLARE_METATYPE(Script)
Q_DECLARE_METATYPE(LoginResult)

class DeadlineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneCommand_data();
    void oneCommand();
    void everyCommandHasItsOwnCeiling();
    void login_data();
    void login();
    void pipelineGivesUp_data();
    void pipelineGivesUp();
    void queuedRepliesAreNotCutShort();
    void limitsFromEnvironment_data();
    void limitsFromEnvironment();
};

void DeadlineTest::oneCommand_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<QByteArrayList>("sentences"); // the first word of each sentence read
    QTest::addColumn<qint64>("endMs");             // the clock when the reader returned
    QTest::addColumn<bool>("closed");

    QTest::addRow("a slow reply within the ceiling")
        << sentencesAt(900, 900, 10, Re) + Script{{9900, Done}} << times(10, "!re") + QByteArrayList{"!done"}
        << qint64(9900) << false;
    QTest::addRow("a !re every 700 ms without end")
        << sentencesAt(700, 700, 30, Re) << times(14, "!re") << qint64(10000) << true;
    // A byte every 300 ms: each arrives within the time-out, the five of the
    // first sentence do not.
    QTest::addRow("a byte every 300 ms")
        << bytesAt(300, 300, Re + Done) << QByteArrayList() << qint64(1000) << true;
    // Every sentence comes within the time-out; the reply never ends.
    QTest::addRow("a byte every 100 ms without end")
        << bytesAt(50, 100, repeated(Re, 40)) << times(20, "!re") << qint64(10000) << true;
    QTest::addRow("silence") << Script{{5000, Done}} << QByteArrayList() << qint64(1000) << true;
    // Sentences already at hand once the ceiling has come are not read on:
    // a flood cannot hold the reader either.
    QTest::addRow("a flood at the ceiling")
        << sentencesAt(700, 700, 14, Re) + Script{{10000, repeated(Re, 50) + Done}} << times(15, "!re")
        << qint64(10000) << true;
}

void DeadlineTest::oneCommand()
{
    QFETCH(Script, script);
    QFETCH(QByteArrayList, sentences);
    QFETCH(qint64, endMs);
    QFETCH(bool, closed);
    MemoryTransport transport;
    play(transport, script);
    const ApiReply reply = runCommand(transport, {u"/ip/hotspot/user/print"_s});
    QCOMPARE(firstWords(reply), sentences);
    QCOMPARE(transport.clockMs(), endMs);
    QCOMPARE(transport.isClosed(), closed);
    // A reply cut off is no answer, as after a lost connection.
    QCOMPARE(answered(reply), !closed);
}

// The ceiling is the reply's, not the session's: two replies of nearly ten
// seconds each both come whole.
void DeadlineTest::everyCommandHasItsOwnCeiling()
{
    MemoryTransport transport;
    play(transport, sentencesAt(700, 700, 13, Re) + Script{{9800, Done}} + sentencesAt(10500, 700, 13, Re) +
                        Script{{19600, Done}});
    const ApiReply first = runCommand(transport, {u"/ip/hotspot/user/print"_s});
    QCOMPARE(firstWords(first), times(13, "!re") + QByteArrayList{"!done"});
    const ApiReply second = runCommand(transport, {u"/ip/hotspot/user/print"_s});
    QCOMPARE(firstWords(second), times(13, "!re") + QByteArrayList{"!done"});
    QCOMPARE(transport.clockMs(), qint64(19600));
    QVERIFY(!transport.isClosed());
}

void DeadlineTest::login_data()
{
    const QByteArray challenge = wire({"!done", "=ret=0123456789abcdef0123456789abcdef"});
    QTest::addColumn<Script>("script");
    QTest::addColumn<LoginResult>("result");
    QTest::addColumn<qint64>("endMs");
    // Each answer has the time-out of its own, so the login may take longer.
    QTest::addRow("each answer in time")
        << Script{{900, challenge}, {1800, Done}} << LoginResult::LoggedIn << qint64(1800);
    QTest::addRow("the verdict too late")
        << Script{{900, challenge}, {2000, Done}} << LoginResult::NoAnswer << qint64(1900);
    // 45 bytes, 100 ms apart.
    QTest::addRow("the challenge trickling")
        << bytesAt(100, 100, challenge) << LoginResult::NoAnswer << qint64(1000);
}

void DeadlineTest::login()
{
    QFETCH(Script, script);
    QFETCH(LoginResult, result);
    QFETCH(qint64, endMs);
    MemoryTransport transport;
    play(transport, script);
    QCOMPARE(::login(transport, "admin", "secret"), result);
    QCOMPARE(transport.clockMs(), endMs);
}

void DeadlineTest::pipelineGivesUp_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<QList<quint32>>("answered"); // the tags whose replies came, in order
    QTest::addColumn<qint64>("endMs");

    // Tag 1 sends a "!re" every 700 ms from 700 on, without end: its ceiling
    // runs out at 10700, while tags 2 and 3 are answered meanwhile.
    QTest::addRow("a reply without end") << sentencesAt(700, 700, 30, wire({"!re", ".tag=1"})) +
                                                Script{{800, wire({"!done", ".tag=2"})},
                                                       {1200, wire({"!re", "=name=a", ".tag=3"})},
                                                       {3000, wire({"!done", ".tag=3"})}}
                                         << QList<quint32>{2, 3} << qint64(10700);
    // Tag 2's sentence comes a byte every 400 ms while tag 1 waits.
    QTest::addRow("a sentence trickling")
        << Script{{300, wire({"!done", ".tag=3"})}} + bytesAt(500, 400, wire({"!done", ".tag=2"}))
        << QList<quint32>{3} << qint64(1300);
    QTest::addRow("silence") << Script{{200, wire({"!done", ".tag=2"})}, {5000, wire({"!done", ".tag=1"})}}
                             << QList<quint32>{2} << qint64(1200);
}

// The pipeline ends as after a lost connection: what is still in flight has
// no answer.
void DeadlineTest::pipelineGivesUp()
{
    QFETCH(Script, script);
    QFETCH(QList<quint32>, answered);
    QFETCH(qint64, endMs);
    MemoryTransport transport;
    play(transport, script);
    ApiPipeline pipeline(transport);
    for (int i = 0; i < 3; ++i)
        pipeline.send({u"/ip/hotspot/user/print"_s});
    QList<quint32> tags;
    while (const std::optional<TaggedReply> reply = pipeline.next()) {
        QCOMPARE(reply->reply.sentences.last().kind, ReplyKind::Done);
        tags << reply->tag;
    }
    QCOMPARE(tags, answered);
    QCOMPARE(transport.clockMs(), endMs);
    QVERIFY(pipeline.ended());
    QVERIFY(transport.isClosed());
    QCOMPARE(pipeline.inFlight(), 3 - answered.size());
}

// Commands sent together are answered one after another: the last reply
// starts long after its command went out, and still has the whole ceiling.
void DeadlineTest::queuedRepliesAreNotCutShort()
{
    MemoryTransport transport;
    Script script;
    // Each reply: four "!re" 500 ms apart, then "!done"; 15 s for all six.
    for (int tag = 1; tag <= 6; ++tag) {
        const qint64 start = (tag - 1) * 2500;
        const QByteArray word = ".tag=" + QByteArray::number(tag);
        script += sentencesAt(start + 500, 500, 4, wire({"!re", word}));
        script.append({start + 2500, wire({"!done", word})});
    }
    play(transport, script);
    ApiPipeline pipeline(transport);
    for (int i = 0; i < 6; ++i)
        pipeline.send({u"/ip/hotspot/user/print"_s});
    for (quint32 tag = 1; tag <= 6; ++tag) {
        const std::optional<TaggedReply> reply = pipeline.next();
        QVERIFY(reply);
        QCOMPARE(reply->tag, tag);
        QCOMPARE(firstWords(reply->reply), times(4, "!re") + QByteArrayList{"!done"});
    }
    QCOMPARE(transport.clockMs(), qint64(15000));
    QVERIFY(!transport.isClosed());
}

void DeadlineTest::limitsFromEnvironment_data()
{
    QTest::addColumn<QByteArray>("timeout"); // empty: not set
    QTest::addColumn<QByteArray>("ceiling");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<int>("ceilingMs");
    QTest::addRow("neither") << QByteArray() << QByteArray() << 30000 << 300000;
    QTest::addRow("a time-out") << QByteArray("250") << QByteArray() << 250 << 2500;
    QTest::addRow("a ceiling") << QByteArray() << QByteArray("60000") << 30000 << 60000;
    QTest::addRow("a ceiling below the time-out") << QByteArray("1000") << QByteArray("400") << 1000 << 1000;
    QTest::addRow("no numbers") << QByteArray("soon") << QByteArray("later") << 30000 << 300000;
    QTest::addRow("zero") << QByteArray("0") << QByteArray("0") << 30000 << 300000;
}

void DeadlineTest::limitsFromEnvironment()
{
    QFETCH(QByteArray, timeout);
    QFETCH(QByteArray, ceiling);
    QFETCH(int, timeoutMs);
    QFETCH(int, ceilingMs);
    const auto set = [](const char *name, const QByteArray &value) {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    set("WIFITICKETER_API_TIMEOUT_MS", timeout);
    set("WIFITICKETER_API_CEILING_MS", ceiling);
    const ApiTimeLimits limits = apiTimeLimits();
    qunsetenv("WIFITICKETER_API_TIMEOUT_MS");
    qunsetenv("WIFITICKETER_API_CEILING_MS");
    QCOMPARE(limits.timeoutMs, timeoutMs);
    QCOMPARE(limits.ceilingMs, ceilingMs);
}

WIFITICKETER_TEST(DeadlineTest)
#include "deadlinetest.moc"
