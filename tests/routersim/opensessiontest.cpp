#include "recordbuilders.h"
#include "scriptedinteraction.h"
#include "simfixture.h"
#include "testmain.h"

#include "config/routerconfig.h"
#include "router/routersession.h"
#include "routeros/session.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTest>

using namespace routersim;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(routersim::LoginMode)
Q_DECLARE_METATYPE(routersim::RouterBehaviour)

namespace {

// Notes, at each message, the sentences the router had received by then.
class WatchingInteraction : public ScriptedInteraction
{
public:
    explicit WatchingInteraction(SimulatedRouter &router) : m_router(router) {}
    void showMessage(const QString &text, MessageIcon icon) override
    {
        receivedBeforeMessage = m_router.log();
        ScriptedInteraction::showMessage(text, icon);
    }
    QList<LoggedSentence> receivedBeforeMessage;

private:
    SimulatedRouter &m_router;
};

} // namespace

// Opening and closing the program's session on a simulated router.
class OpenSessionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensAndCloses_data();
    void opensAndCloses();
    void refusedLoginQuitsBeforeTheMessage();
    void unansweredLoginNamesTheRouter_data();
    void unansweredLoginNamesTheRouter();
};

void OpenSessionTest::opensAndCloses_data()
{
    QTest::addColumn<LoginMode>("mode");
    QTest::addColumn<QString>("version");
    QTest::addRow("challenge only, RouterOS 6.40") << LoginMode::Challenge << u"6.40.9 (bugfix)"_s;
    QTest::addRow("both, RouterOS 6.44") << LoginMode::Both << u"6.44.6 (long-term)"_s;
    QTest::addRow("one sentence, RouterOS 7") << LoginMode::Plain << u"7.12 (stable)"_s;
    QTest::addRow("one sentence after a trap") << LoginMode::PlainTrap << u"7.16 (stable)"_s;
}

void OpenSessionTest::opensAndCloses()
{
    QFETCH(LoginMode, mode);
    QFETCH(QString, version);
    RouterState state = routerWithUser(u"operador"_s, u"s3nhá"_s);
    state.version = version;
    RouterBehaviour behaviour;
    behaviour.login = mode;
    SimFixture sim(state, behaviour);
    QVERIFY(sim.start(false));

    ApiConnection connection;
    ScriptedInteraction interaction;
    QVERIFY(openSession(connection, loopbackRouter(u"Balcão"_s, sim.port(), u"operador"_s, u"s3nhá"_s),
                        interaction));
    QVERIFY(interaction.events.isEmpty());
    QVERIFY(connection.transport);
    closeSession(connection);
    QVERIFY(!connection.transport);

    const QList<Sentence> sent = sim.router().sentencesOf(1);
    QVERIFY(sent.size() >= 3);
    QCOMPARE(sent.first(), Sentence{"/login"});
    QCOMPARE(sent.last(), Sentence{"/quit"});
    const Sentence &credentials = sent[1];
    QCOMPARE(credentials.size(), 3);
    QCOMPARE(credentials.value(1), QByteArray("=name=operador"));
    // Routers that give a challenge get the response and never the password;
    // the others asked for the password.
    const bool challenged = mode == LoginMode::Challenge || mode == LoginMode::Both;
    if (challenged)
        QVERIFY2(credentials.last().startsWith("=response=00"), credentials.last().constData());
    else
        QCOMPARE(credentials.last(), u"=password=s3nhá"_s.toUtf8());
    bool passwordSent = false;
    for (const Sentence &sentence : sent) {
        for (const QByteArray &word : sentence)
            passwordSent = passwordSent || word.startsWith("=password=") || word.contains("s3nh");
    }
    QCOMPARE(passwordSent, !challenged);
}

void OpenSessionTest::refusedLoginQuitsBeforeTheMessage()
{
    SimFixture sim(routerWithUser(u"admin"_s, u"certa"_s));
    QVERIFY(sim.start(false));
    ApiConnection connection;
    WatchingInteraction interaction(sim.router());
    QVERIFY(!openSession(connection, loopbackRouter(u"Balcão"_s, sim.port(), u"admin"_s, u"errada"_s),
                         interaction));
    QVERIFY(!connection.transport);
    // The message names the router's address, not its name.
    QCOMPARE(
        interaction.texts(),
        QStringList{
            u"Ocorreu um erro durante autentição no router 127.0.0.1 .\nVerifique o usuário e senha."_s});
    QCOMPARE(interaction.events[0].icon, MessageIcon::Error);
    QVERIFY(!interaction.receivedBeforeMessage.isEmpty());
    QCOMPARE(interaction.receivedBeforeMessage.last().words, Sentence{"/quit"});
}

void OpenSessionTest::unansweredLoginNamesTheRouter_data()
{
    QTest::addColumn<RouterBehaviour>("behaviour");
    QTest::addColumn<QList<Sentence>>("received");
    RouterBehaviour stalled;
    stalled.stall = true;
    QTest::addRow("no answer at all") << stalled << QList<Sentence>{{"/login"}};
    RouterBehaviour closing;
    closing.login = LoginMode::Challenge;
    closing.closeAfter = 1;
    QTest::addRow("closed after the challenge") << closing << QList<Sentence>{{"/login"}};
}

void OpenSessionTest::unansweredLoginNamesTheRouter()
{
    QFETCH(RouterBehaviour, behaviour);
    QFETCH(QList<Sentence>, received);
    const QByteArray oldTimeout = qgetenv("WIFITICKETER_API_TIMEOUT_MS");
    qputenv("WIFITICKETER_API_TIMEOUT_MS", "300");
    const auto restore = qScopeGuard([&oldTimeout] {
        if (oldTimeout.isNull())
            qunsetenv("WIFITICKETER_API_TIMEOUT_MS");
        else
            qputenv("WIFITICKETER_API_TIMEOUT_MS", oldTimeout);
    });
    SimFixture sim(routerWithUser(u"admin"_s, u"certa"_s), behaviour);
    QVERIFY(sim.start(false));
    ApiConnection connection;
    ScriptedInteraction interaction;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!openSession(connection, loopbackRouter(u"Balcão"_s, sim.port(), u"admin"_s, u"certa"_s),
                         interaction));
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!connection.transport);
    // Told as a router that cannot be reached, by its name; not as a wrong password.
    QCOMPARE(
        interaction.texts(),
        QStringList{u"Ocorreu um erro ao conectar ao roteador Mikrotik Balcão.\nVerifique se digitou o IP e "
                    "a porta API corretos.\n\nCertifique que o serviço API está habilitado no roteador."_s});
    QCOMPARE(interaction.events[0].icon, MessageIcon::Error);
    QCOMPARE(sim.router().sentencesOf(1), received);
}

WIFITICKETER_TEST(OpenSessionTest)
#include "opensessiontest.moc"
#include "router/routersession.h"
