#include "recordbuilders.h"
#include "scriptedinteraction.h"
#include "simfixture.h"
#include "testmain.h"

#include "config/routerconfig.h"
#include "router/routersession.h"
#include "routeros/session.h"

#include <QTest>

using namespace routersim;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(routersim::LoginMode)

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
    QCOMPARE(credentials.value(1), QByteArray("=name=operador"));
    QCOMPARE(credentials.last(), u"=password=s3nhá"_s.toUtf8());
    // Only routers that give a challenge get a response.
    QCOMPARE(credentials.size(), mode == LoginMode::Plain || mode == LoginMode::PlainTrap ? 3 : 4);
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

WIFITICKETER_TEST(OpenSessionTest)
#include "opensessiontest.moc"
#include "router/routersession.h"
