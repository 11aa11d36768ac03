#include "simfixture.h"
#include "testmain.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTest>

using namespace routersim;

Q_DECLARE_METATYPE(routersim::LoginMode)

namespace {

const QStringList Accepted{QStringLiteral("!done")};
const QStringList Refused{QStringLiteral("!trap =message=invalid user name or password (6)"),
                          QStringLiteral("!done")};

// The test's own computation of a challenge response.
QByteArray responseFor(const QByteArray &password, const QByteArray &challengeHex)
{
    QCryptographicHash md5(QCryptographicHash::Md5);
    md5.addData(QByteArray(1, '\0') + password + QByteArray::fromHex(challengeHex));
    return "00" + md5.result().toHex();
}

} // namespace

class LoginTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bareLogin_data();
    void bareLogin();
    void credentials_data();
    void credentials();
    void challengeServesOneLogin();
    void commandsBeforeLoginAreRefused();
};

void LoginTest::bareLogin_data()
{
    QTest::addColumn<LoginMode>("mode");
    QTest::addColumn<QString>("answer"); // a pattern
    QTest::addRow("challenge") << LoginMode::Challenge << QStringLiteral("^!done =ret=[0-9a-f]{32}$");
    QTest::addRow("both") << LoginMode::Both << QStringLiteral("^!done =ret=[0-9a-f]{32}$");
    QTest::addRow("plain") << LoginMode::Plain << QStringLiteral("^!done$");
    QTest::addRow("plain-trap") << LoginMode::PlainTrap
                                << QStringLiteral(
                                       "^!trap =message=invalid user name or password \\(6\\)\n!done$");
}

void LoginTest::bareLogin()
{
    QFETCH(LoginMode, mode);
    QFETCH(QString, answer);
    SimFixture sim(defaultRouterState(), {mode});
    QVERIFY(sim.start());
    const QString got = sim.call({"/login"}).join(u'\n');
    QVERIFY2(QRegularExpression(answer).match(got).hasMatch(), qPrintable(got));
    // Each bare login gives a fresh challenge.
    if (mode == LoginMode::Challenge)
        QVERIFY(sim.call({"/login"}).join(u'\n') != got);
}

void LoginTest::credentials_data()
{
    QTest::addColumn<LoginMode>("mode");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>(
        "responseFrom"); // the password the response is made from; empty: no response
    QTest::addColumn<QByteArray>("passwordWord"); // the "=password=" value; empty: no such word
    QTest::addColumn<bool>("accepted");

    const QByteArray right = "s3nh\xe2\x82\xac"; // "s3nh€" in UTF-8
    const QByteArray wrong = "s3nha";
    // A "=password=" beside "=response=" is not looked at: the response decides.
    QTest::addRow("challenge: response")
        << LoginMode::Challenge << QByteArray("api") << right << QByteArray() << true;
    QTest::addRow("challenge: response, wrong password word")
        << LoginMode::Challenge << QByteArray("api") << right << wrong << true;
    QTest::addRow("challenge: wrong response, right password word")
        << LoginMode::Challenge << QByteArray("api") << wrong << right << false;
    QTest::addRow("challenge: name and password only")
        << LoginMode::Challenge << QByteArray("api") << QByteArray() << right << false;
    QTest::addRow("both: response") << LoginMode::Both << QByteArray("api") << right << right << true;
    QTest::addRow("both: wrong response") << LoginMode::Both << QByteArray("api") << wrong << right << false;
    QTest::addRow("both: name and password")
        << LoginMode::Both << QByteArray("api") << QByteArray() << right << true;
    QTest::addRow("both: wrong password")
        << LoginMode::Both << QByteArray("api") << QByteArray() << wrong << false;
    QTest::addRow("plain: name and password")
        << LoginMode::Plain << QByteArray("api") << QByteArray() << right << true;
    QTest::addRow("plain: wrong password")
        << LoginMode::Plain << QByteArray("api") << QByteArray() << wrong << false;
    QTest::addRow("plain: no password word")
        << LoginMode::Plain << QByteArray("api") << QByteArray() << QByteArray() << false;
    QTest::addRow("plain-trap: name and password")
        << LoginMode::PlainTrap << QByteArray("api") << QByteArray() << right << true;
    QTest::addRow("plain-trap: wrong password")
        << LoginMode::PlainTrap << QByteArray("api") << QByteArray() << wrong << false;
    QTest::addRow("unknown user") << LoginMode::Both << QByteArray("admin") << QByteArray() << right << false;
    QTest::addRow("unknown user, response")
        << LoginMode::Both << QByteArray("Api") << right << QByteArray() << false;
}

void LoginTest::credentials()
{
    QFETCH(LoginMode, mode);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, responseFrom);
    QFETCH(QByteArray, passwordWord);
    QFETCH(bool, accepted);
    SimFixture sim(routerWithUser(QStringLiteral("api"), QString::fromUtf8("s3nh\xe2\x82\xac")), {mode});
    QVERIFY(sim.start());

    const QStringList first = sim.call({"/login"});
    QByteArrayList login{"/login", "=name=" + name};
    if (!responseFrom.isEmpty()) {
        QVERIFY2(first.value(0).startsWith(u"!done =ret="), qPrintable(first.join(u'\n')));
        login.append("=response=" + responseFor(responseFrom, first.value(0).mid(11).toLatin1()));
    }
    if (!passwordWord.isEmpty())
        login.append("=password=" + passwordWord);
    QCOMPARE(sim.call(login), accepted ? Accepted : Refused);

    // Only a logged-in session is answered.
    const QStringList resource = sim.call({"/system/resource/print"});
    if (accepted)
        QCOMPARE(resource.value(0), QStringLiteral("!re =version=6.48.6 (stable) =board-name=CHR"));
    else
        QCOMPARE(resource,
                 (QStringList{QStringLiteral("!trap =message=not logged in"), QStringLiteral("!done")}));
}

void LoginTest::challengeServesOneLogin()
{
    SimFixture sim(defaultRouterState(), {LoginMode::Challenge});
    QVERIFY(sim.start());
    // A response without a challenge asked for is refused.
    QCOMPARE(sim.call({"/login", "=name=admin", "=response=" + responseFor("", QByteArray(32, '0'))}),
             Refused);

    const QByteArray challenge = sim.call({"/login"}).value(0).mid(11).toLatin1();
    const QByteArrayList login{"/login", "=name=admin", "=response=" + responseFor("", challenge)};
    QCOMPARE(sim.call(login), Accepted);
    QCOMPARE(sim.call(login), Refused);
}

void LoginTest::commandsBeforeLoginAreRefused()
{
    SimFixture sim;
    QVERIFY(sim.start());
    const QStringList notLoggedIn{QStringLiteral("!trap =message=not logged in"), QStringLiteral("!done")};
    QCOMPARE(sim.call({"/ip/hotspot/user/add", "=name=u", "=password=p", "=profile=default"}), notLoggedIn);
    QCOMPARE(sim.call({"/no/such/menu"}), notLoggedIn);
    QCOMPARE(sim.call({"/login", "=name=admin", "=password=x"}), Refused);
    QCOMPARE(sim.call({"/ip/hotspot/user/print"}), notLoggedIn);
    QVERIFY(sim.router().state().hotspotUsers.isEmpty());
    QVERIFY(sim.login());
    QCOMPARE(sim.call({"/ip/hotspot/user/print"}), QStringList{QStringLiteral("!done")});
}

WIFITICKETER_TEST(LoginTest)
#include "logintest.moc"
