#include "apisentence.h"
#include "filebytes.h"
#include "rawclient.h"
#include "testmain.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString SimPath = QStringLiteral(WIFITICKETER_ROUTERSIM_PATH);

struct Finished
{
    int exitCode = -1;
    QString out;
    QString err;
};

Finished runToEnd(const QStringList &arguments)
{
    QProcess process;
    process.start(SimPath, arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The simulator as a process of its own, killed at the end of the test.
class SimProcess
{
public:
    ~SimProcess()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    // Starts it and waits for "listening on 127.0.0.1:PORT".
    bool start(const QStringList &arguments)
    {
        m_process.start(SimPath, QStringList{QStringLiteral("--port"), QStringLiteral("0")} + arguments);
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(10000))
                return false;
        }
        const QString line = QString::fromUtf8(m_process.readLine());
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)\\n$")).match(line);
        m_port = quint16(match.captured(1).toUInt());
        return match.hasMatch() && m_port != 0;
    }

    quint16 port() const { return m_port; }

private:
    QProcess m_process;
    quint16 m_port = 0;
};

QByteArray challengeResponse(const QByteArray &password, const QString &firstAnswer)
{
    QCryptographicHash md5(QCryptographicHash::Md5);
    md5.addData(QByteArray(1, '\0') + password + QByteArray::fromHex(firstAnswer.mid(11).toLatin1()));
    return "00" + md5.result().toHex();
}

QJsonObject readJson(const QString &path)
{
    return QJsonDocument::fromJson(readFile(path)).object();
}

} // namespace

class ExecutableTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void usageErrors_data();
    void usageErrors();
    void help();
    void defaultRouter();
    void configLogAndState();
    void faultOptions();
    void stallAndLatency();
    void outOfOrder();
    void trickle();
    void endlessRe();
};

void ExecutableTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::addRow("unknown option") << QStringList{QStringLiteral("--colour")}
                                    << QStringLiteral("Unknown option 'colour'");
    QTest::addRow("missing value") << QStringList{QStringLiteral("--port")}
                                   << QStringLiteral("Missing value after '--port'");
    QTest::addRow("port not a number") << QStringList{QStringLiteral("--port"), QStringLiteral("http")}
                                       << QStringLiteral("--port needs a number from 0 to 65535");
    QTest::addRow("port too large") << QStringList{QStringLiteral("--port"), QStringLiteral("65536")}
                                    << QStringLiteral("--port needs a number from 0 to 65535");
    QTest::addRow("unknown login") << QStringList{QStringLiteral("--login"), QStringLiteral("token")}
                                   << QStringLiteral("unknown login generation 'token'");
    QTest::addRow("negative close-after")
        << QStringList{QStringLiteral("--close-after"), QStringLiteral("-1")}
        << QStringLiteral("--close-after needs a number of sentences");
    QTest::addRow("latency not a number") << QStringList{QStringLiteral("--latency"), QStringLiteral("soon")}
                                          << QStringLiteral("--latency needs a number of milliseconds");
    QTest::addRow("negative trickle") << QStringList{QStringLiteral("--trickle"), QStringLiteral("-20")}
                                      << QStringLiteral("--trickle needs a number of milliseconds");
    QTest::addRow("endless-re of no time") << QStringList{QStringLiteral("--endless-re"), QStringLiteral("0")}
                                           << QStringLiteral("--endless-re needs a number of milliseconds");
    QTest::addRow("fault-command not a path")
        << QStringList{QStringLiteral("--fault-command"), QStringLiteral("ip/hotspot/user/add")}
        << QStringLiteral("--fault-command needs a command path such as /login");
    QTest::addRow("argument") << QStringList{QStringLiteral("7.12")}
                              << QStringLiteral("unexpected argument '7.12'");
    QTest::addRow("missing config") << QStringList{QStringLiteral("--config"),
                                                   QStringLiteral("/nonexistent/sim.json")}
                                    << QStringLiteral("cannot read /nonexistent/sim.json");
}

void ExecutableTest::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Finished run = runToEnd(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(run.out, QString());
}

void ExecutableTest::help()
{
    const Finished run = runToEnd({QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    for (const char *option :
         {"--port", "--config", "--version", "--user", "--password", "--login", "--refuse-adds",
          "--forget-adds", "--stall", "--close-after", "--latency", "--out-of-order", "--trickle",
          "--endless-re", "--fault-command", "--log", "--state"})
        QVERIFY2(run.out.contains(QLatin1StringView(option)), option);
}

void ExecutableTest::defaultRouter()
{
    SimProcess sim;
    QVERIFY(sim.start({}));
    RawClient client;
    QVERIFY(client.connectTo(sim.port()));
    // Login both ways: a challenge is given, name and password are taken.
    QVERIFY(QRegularExpression(QStringLiteral("^!done =ret=[0-9a-f]{32}$"))
                .match(client.call({"/login"}).join(u'\n'))
                .hasMatch());
    QCOMPARE(client.call({"/login", "=name=admin", "=password="}), QStringList{QStringLiteral("!done")});
    QCOMPARE(client.call({"/system/resource/print"}).value(0),
             QStringLiteral("!re =version=6.48.6 (stable) =board-name=CHR"));
    QCOMPARE(client.call({"/ip/hotspot/user/profile/print"}),
             (QStringList{QStringLiteral("!re =.id=*2 =name=default"),
                          QStringLiteral("!re =.id=*3 =name=1hora"), QStringLiteral("!done")}));
    QCOMPARE(client.call({"/ip/hotspot/print"}),
             (QStringList{QStringLiteral("!re =.id=*4 =name=hotspot1"), QStringLiteral("!done")}));
    QCOMPARE(client.call({"/tool/user-manager/profile/print"}),
             (QStringList{QStringLiteral("!re =.id=*5 =name=1dia =owner=admin =price=5.00 =validity=1d"),
                          QStringLiteral("!re =.id=*6 =name=7dias =owner=admin =price=25.00 =validity=7d"),
                          QStringLiteral("!done")}));
    QCOMPARE(client.call({"/tool/user-manager/customer/print"}),
             (QStringList{QStringLiteral("!re =.id=*7 =login=admin"), QStringLiteral("!done")}));
    QCOMPARE(client.call({"/quit"}),
             QStringList{QStringLiteral("!fatal =message=session terminated on request")});
    QVERIFY(client.waitForClosed());
}

void ExecutableTest::configLogAndState()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString config = dir.filePath(QStringLiteral("router.json"));
    const QString log = dir.filePath(QStringLiteral("log.jsonl"));
    const QString state = dir.filePath(QStringLiteral("state.json"));
    QVERIFY(writeFile(config, R"json({"version": "6.40.1", "login": "challenge",
                   "hotspotUsers": [{"name": "old", "comment": "201001010000"}]})json"));

    SimProcess sim;
    // Options given beside the file win.
    QVERIFY(
        sim.start({QStringLiteral("--config"), config, QStringLiteral("--version"),
                   QStringLiteral("7.12 (stable)"), QStringLiteral("--login"), QStringLiteral("plain"),
                   QStringLiteral("--user"), QStringLiteral("api"), QStringLiteral("--password"),
                   QStringLiteral("pw"), QStringLiteral("--log"), log, QStringLiteral("--state"), state}));
    QCOMPARE(readJson(state).value(QStringLiteral("version")).toString(), QStringLiteral("7.12 (stable)"));

    RawClient client;
    QVERIFY(client.connectTo(sim.port()));
    QCOMPARE(client.call({"/login"}), QStringList{QStringLiteral("!done")});
    QCOMPARE(client.call({"/login", "=name=api", "=password=pw"}), QStringList{QStringLiteral("!done")});
    QCOMPARE(client.call({"/user-manager/user/add", "=name=x", "=password=y"}),
             QStringList{QStringLiteral("!done =ret=*9")});
    QCOMPARE(client.call({"/ip/hotspot/user/print"}).value(0),
             QStringLiteral("!re =.id=*8 =name=old =profile=default =comment=201001010000 =disabled=false"));

    const QJsonObject dumped = readJson(state);
    QCOMPARE(dumped.value(QStringLiteral("userManagerUsers"))
                 .toArray()
                 .at(0)
                 .toObject()
                 .value(QStringLiteral("name")),
             QJsonValue(QStringLiteral("x")));
    QCOMPARE(
        dumped.value(QStringLiteral("apiUsers")).toArray().at(0).toObject().value(QStringLiteral("password")),
        QJsonValue(QStringLiteral("pw")));

    QFile lines(log);
    QVERIFY(lines.open(QIODevice::ReadOnly));
    QList<QJsonObject> entries;
    while (!lines.atEnd())
        entries.append(QJsonDocument::fromJson(lines.readLine()).object());
    QCOMPARE(entries.size(), 4);
    QCOMPARE(entries[1], QJsonDocument::fromJson(
                             R"json({"connection": 1, "words": ["/login", "=name=api", "=password=pw"]})json")
                             .object());
    QCOMPARE(entries[3].value(QStringLiteral("words")).toArray(),
             QJsonArray{QStringLiteral("/ip/hotspot/user/print")});
}

void ExecutableTest::faultOptions()
{
    SimProcess sim;
    QVERIFY(sim.start({QStringLiteral("--login"), QStringLiteral("challenge"), QStringLiteral("--password"),
                       QStringLiteral("s3"), QStringLiteral("--refuse-adds"), QStringLiteral("--close-after"),
                       QStringLiteral("3")}));
    RawClient client;
    QVERIFY(client.connectTo(sim.port()));
    const QString challenge = client.call({"/login"}).value(0);
    QVERIFY(challenge.startsWith(u"!done =ret="));
    QCOMPARE(client.call({"/login", "=name=admin", "=response=" + challengeResponse("s3", challenge)}),
             QStringList{QStringLiteral("!done")});
    QCOMPARE(
        client.call({"/system/script/add", "=name=a", "=source=x"}),
        (QStringList{QStringLiteral("!trap =message=not enough permissions (9)"), QStringLiteral("!done")}));
    QVERIFY(client.waitForClosed());
}

void ExecutableTest::stallAndLatency()
{
    SimProcess slow;
    QVERIFY(slow.start({QStringLiteral("--latency"), QStringLiteral("300")}));
    RawClient client;
    QVERIFY(client.connectTo(slow.port()));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(client.call({"/login", "=name=admin", "=password="}), QStringList{QStringLiteral("!done")});
    QVERIFY(clock.elapsed() >= 290);

    SimProcess stalled;
    QVERIFY(stalled.start({QStringLiteral("--stall")}));
    RawClient waiting;
    QVERIFY(waiting.connectTo(stalled.port()));
    QCOMPARE(waiting.call({"/login"}, 300), QStringList{QStringLiteral("<no answer>")});
}

void ExecutableTest::outOfOrder()
{
    SimProcess sim;
    QVERIFY(sim.start({QStringLiteral("--out-of-order")}));
    RawClient client;
    QVERIFY(client.connectTo(sim.port()));
    QCOMPARE(client.call({"/login", "=name=admin", "=password="}), QStringList{QStringLiteral("!done")});
    client.sendBytes(apiSentence({"/system/script/print", ".tag=1"}) +
                     apiSentence({"/system/scheduler/print", ".tag=2"}));
    QCOMPARE(client.readAnswer(), QStringList{QStringLiteral("!done .tag=2")});
    QCOMPARE(client.readAnswer(), QStringList{QStringLiteral("!done .tag=1")});
}

void ExecutableTest::trickle()
{
    SimProcess sim;
    QVERIFY(sim.start({QStringLiteral("--trickle"), QStringLiteral("20"), QStringLiteral("--login"),
                       QStringLiteral("plain")}));
    RawClient client;
    QVERIFY(client.connectTo(sim.port()));
    QCOMPARE(client.call({"/login", "=name=admin", "=password="}), QStringList{QStringLiteral("!done")});
    // "!re =version=6.48.6 (stable) =board-name=CHR" and "!done": 53 bytes, 52 pauses of 20 ms.
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(client.call({"/system/resource/print"}),
             (QStringList{QStringLiteral("!re =version=6.48.6 (stable) =board-name=CHR"),
                          QStringLiteral("!done")}));
    QVERIFY2(clock.elapsed() >= 52 * 20 * 9 / 10, qPrintable(QString::number(clock.elapsed())));
}

void ExecutableTest::endlessRe()
{
    SimProcess sim;
    QVERIFY(sim.start({QStringLiteral("--endless-re"), QStringLiteral("20"),
                       QStringLiteral("--fault-command"), QStringLiteral("/system/resource/print")}));
    RawClient client;
    QVERIFY(client.connectTo(sim.port()));
    QCOMPARE(client.call({"/login", "=name=admin", "=password="}), QStringList{QStringLiteral("!done")});
    client.sendSentence({"/system/resource/print", ".tag=3"});
    QCOMPARE(client.readSentence(),
             std::optional(QByteArrayList{"!re", "=version=6.48.6 (stable)", "=board-name=CHR", ".tag=3"}));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(client.readSentence(), std::optional(QByteArrayList{"!re", ".tag=3"}));
    // Other commands end as usual.
    client.sendSentence({"/system/script/print", ".tag=4"});
    std::optional<QByteArrayList> sentence;
    do {
        sentence = client.readSentence();
        QVERIFY(sentence);
    } while (*sentence == QByteArrayList{"!re", ".tag=3"});
    QCOMPARE(*sentence, (QByteArrayList{"!done", ".tag=4"}));
}

WIFITICKETER_TEST(ExecutableTest)
#include "executabletest.moc"
