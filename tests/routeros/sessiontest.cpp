#include "scriptedinteraction.h"
#include "testmain.h"

#include "config/routerconfig.h"
#include "router/routersession.h"
#include "routeros/session.h"

#include <QTcpServer>
#include <QTest>

using namespace Qt::StringLiterals;

class SessionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void portNumber_data();
    void portNumber();
    void connectionFailures_data();
    void connectionFailures();
    void timeoutFromEnvironment();
};

void SessionTest::portNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("port");
    QTest::addRow("plain") << u"8728"_s << 8728;
    QTest::addRow("leading blank") << u" 8729"_s << 8729;
    QTest::addRow("trailing text") << u"8728x"_s << 8728;
    QTest::addRow("not a number") << u"api"_s << 0;
    QTest::addRow("empty") << QString() << 0;
    QTest::addRow("negative") << u"-1"_s << 0;
    QTest::addRow("beyond a port") << u"74264"_s << 0;
}

void SessionTest::portNumber()
{
    QFETCH(QString, text);
    QFETCH(int, port);
    QCOMPARE(int(::portNumber(text)), port);
}

void SessionTest::connectionFailures_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port");
    // A port nobody listens on: take one from a server, then close it.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const QString closedPort = QString::number(probe.serverPort());
    probe.close();
    QTest::addRow("port text not a number") << u"127.0.0.1"_s << u"api"_s;
    QTest::addRow("host that does not resolve") << u"no-such-router.invalid"_s << u"8728"_s;
    QTest::addRow("connection refused") << u"127.0.0.1"_s << closedPort;
    QTest::addRow("empty address") << QString() << u"8728"_s;
}

void SessionTest::connectionFailures()
{
    QFETCH(QString, address);
    QFETCH(QString, port);
    RouterConfig router;
    router.Name = u"Recepção"_s;
    router.Address = address;
    router.Port = port;
    ApiConnection connection;
    ScriptedInteraction interaction;
    QVERIFY(!openSession(connection, router, interaction));
    QVERIFY(!connection.transport);
    QCOMPARE(interaction.texts(),
             QStringList{
                 u"Ocorreu um erro ao conectar ao roteador Mikrotik Recepção.\nVerifique se digitou o IP e a "
                 "porta API corretos.\n\nCertifique que o serviço API está habilitado no roteador."_s});
    QCOMPARE(interaction.events[0].icon, MessageIcon::Error);
}

void SessionTest::timeoutFromEnvironment()
{
    qunsetenv("WIFITICKETER_API_TIMEOUT_MS");
    QCOMPARE(apiTimeoutMs(), 30000);
    qputenv("WIFITICKETER_API_TIMEOUT_MS", "250");
    QCOMPARE(apiTimeoutMs(), 250);
    qputenv("WIFITICKETER_API_TIMEOUT_MS", "soon");
    QCOMPARE(apiTimeoutMs(), 30000);
    qunsetenv("WIFITICKETER_API_TIMEOUT_MS");
}

WIFITICKETER_TEST(SessionTest)
#include "router/routersession.h"
#include "sessiontest.moc"
