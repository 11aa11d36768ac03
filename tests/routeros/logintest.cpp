#include "apidiagnostics.h"
#include "testmain.h"
#include "wire.h"

#include "routeros/memorytransport.h"
#include "routeros/session.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(LoginResult)

namespace {

const QByteArray LoginAlone("\x06/login\0", 8);
const QByteArray Done = wire({"!done"});

} // namespace

class LoginTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void challengeResponse_data();
    void challengeResponse();
    void logins_data();
    void logins();
};

void LoginTest::challengeResponse_data()
{
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<QByteArray>("challenge");
    QTest::addColumn<QByteArray>("response");
    // Digests worked out independently (MD5 of 0x00, password, challenge bytes).
    QTest::addRow("lowercase") << QByteArray("secret") << QByteArray("0123456789abcdef0123456789abcdef")
                               << QByteArray("ebbe7c3df6b3d902bfd1f355c6e63289");
    QTest::addRow("capitals read alike")
        << QByteArray("secret") << QByteArray("0123456789ABCDEF0123456789ABCDEF")
        << QByteArray("ebbe7c3df6b3d902bfd1f355c6e63289");
    QTest::addRow("empty password") << QByteArray() << QByteArray("0123456789abcdef0123456789abcdef")
                                    << QByteArray("fcb4c16e4375c2590775f3dee281da6b");
    QTest::addRow("UTF-8 password") << u"sénha"_s.toUtf8() << QByteArray("DEADBEEFDEADBEEFDEADBEEFDEADBEEF")
                                    << QByteArray("28ba4a57b7d69ae02cd69e52bd8512f0");
}

void LoginTest::challengeResponse()
{
    QFETCH(QByteArray, password);
    QFETCH(QByteArray, challenge);
    QFETCH(QByteArray, response);
    QCOMPARE(::challengeResponse(password, challenge), response);
}

void LoginTest::logins_data()
{
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<QList<QByteArray>>("answers");
    QTest::addColumn<LoginResult>("result");
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::addColumn<QStringList>("diagnostics"); // what the client reports of a peer it cannot log in to

    // A router that gives a challenge gets the name and the response, never the password.
    const QByteArray challenge = wire({"!done", "=ret=0123456789ABCDEF0123456789ABCDEF"});
    const QByteArray secondLogin =
        wire({"/login", "=name=admin", "=response=00ebbe7c3df6b3d902bfd1f355c6e63289"});
    QTest::addRow("challenge accepted")
        << QByteArray("secret") << QList<QByteArray>{challenge, Done} << LoginResult::LoggedIn
        << QList<QByteArray>{LoginAlone, secondLogin} << QStringList();
    QTest::addRow("challenge, empty password")
        << QByteArray() << QList<QByteArray>{challenge, Done} << LoginResult::LoggedIn
        << QList<QByteArray>{LoginAlone,
                             wire({"/login", "=name=admin", "=response=00fcb4c16e4375c2590775f3dee281da6b"})}
        << QStringList();
    QTest::addRow("challenge refused")
        << QByteArray("secret")
        << QList<QByteArray>{challenge, wire({"!trap", "=message=invalid user name or password (6)"}) + Done}
        << LoginResult::Refused << QList<QByteArray>{LoginAlone, secondLogin} << QStringList();
    QTest::addRow("closed after the challenge")
        << QByteArray("secret") << QList<QByteArray>{challenge} << LoginResult::NoAnswer
        << QList<QByteArray>{LoginAlone, secondLogin} << QStringList();

    // Routers from 6.45.1 on give no challenge and take the password at once.
    const QByteArray plain = wire({"/login", "=name=admin", "=password=secret"});
    QTest::addRow("no challenge") << QByteArray("secret") << QList<QByteArray>{Done, Done}
                                  << LoginResult::LoggedIn << QList<QByteArray>{LoginAlone, plain}
                                  << QStringList();
    QTest::addRow("trap instead of a challenge")
        << QByteArray("secret") << QList<QByteArray>{wire({"!trap", "=message=not supported"}) + Done, Done}
        << LoginResult::LoggedIn << QList<QByteArray>{LoginAlone, plain} << QStringList();
    QTest::addRow("no challenge, refused")
        << QByteArray("secret")
        << QList<QByteArray>{Done, wire({"!trap", "=message=invalid user name or password (6)"}) + Done}
        << LoginResult::Refused << QList<QByteArray>{LoginAlone, plain} << QStringList();
    QTest::addRow("no challenge, no answer to the password")
        << QByteArray("secret") << QList<QByteArray>{Done} << LoginResult::NoAnswer
        << QList<QByteArray>{LoginAlone, plain} << QStringList();

    // A challenge that is not 32 digits is answered with nothing.
    QTest::addRow("short challenge") << QByteArray("secret")
                                     << QList<QByteArray>{wire({"!done", "=ret=abc"}), Done}
                                     << LoginResult::Refused << QList<QByteArray>{LoginAlone}
                                     << QStringList{u"error."_s};
    QTest::addRow("silent router") << QByteArray("secret") << QList<QByteArray>{} << LoginResult::NoAnswer
                                   << QList<QByteArray>{LoginAlone} << QStringList{u"error."_s};
    QTest::addRow("first answer cut off")
        << QByteArray("secret") << QList<QByteArray>{wire({"!done", "=ret=0123456789"}).first(9)}
        << LoginResult::NoAnswer << QList<QByteArray>{LoginAlone} << QStringList{u"error."_s};
    QTest::addRow("fatal") << QByteArray("secret") << QList<QByteArray>{wire({"!fatal", "=message=bye"})}
                           << LoginResult::Refused << QList<QByteArray>{LoginAlone}
                           << QStringList{u"error."_s};
}

void LoginTest::logins()
{
    QFETCH(QByteArray, password);
    QFETCH(QList<QByteArray>, answers);
    QFETCH(LoginResult, result);
    QFETCH(QList<QByteArray>, sent);
    QFETCH(QStringList, diagnostics);
    MemoryTransport t;
    for (const QByteArray &answer : answers)
        t.answerNextSend(answer);
    CapturedApiDiagnostics captured;
    QCOMPARE(login(t, "admin", password), result);
    QCOMPARE(t.sends(), sent);
    QCOMPARE(captured.lines(), diagnostics);
    // A peer that gave a challenge, or something like one, never sees the password.
    if (!answers.isEmpty() && answers.first().contains("=ret=")) {
        QVERIFY(!t.sentBytes().contains("=password="));
        if (!password.isEmpty())
            QVERIFY(!t.sentBytes().contains(password));
    }
}

WIFITICKETER_TEST(LoginTest)
#include "logintest.moc"
