#include "testfolder.h"
#include "testmain.h"

#include "base/scramble.h"
#include "config/appuser.h"

#include <QTest>

using namespace Qt::StringLiterals;

class UsersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void serializeOneUser();
    void fixtureBytes();
    void flags_data();
    void flags();
    void damaged_data();
    void damaged();
    void findUser_data();
    void findUser();
    void editorRules();
};

void UsersTest::serializeOneUser()
{
    // One-character name and password with the settings permission: 12 bytes.
    const QByteArray bytes = serializeUsers({{u"a"_s, u"b"_s, true, false, false}});
    QCOMPARE(bytes, QByteArray::fromHex("0200") + QByteArray::fromHex("0300") + scramble(u"a"_s) +
                        QByteArray::fromHex("0300") + scramble(u"b"_s));
    QCOMPARE(bytes.size(), 12);
}

void UsersTest::fixtureBytes()
{
    const QList<AppUser> users = {{QString(), QString(), true, false, false},
                                  {u"caixa"_s, u"1234"_s, false, true, true}};
    QCOMPARE(serializeUsers(users), fixture(u"UsersData.bin"_s));
    QList<AppUser> parsed;
    parseUsers(fixture(u"UsersData.bin"_s), parsed);
    QCOMPARE(parsed, users);
}

void UsersTest::flags_data()
{
    QTest::addColumn<quint8>("flags");
    QTest::addColumn<bool>("settingsAccess");
    QTest::addColumn<bool>("posMode");
    QTest::addColumn<bool>("fullScreen");
    QTest::addRow("access") << quint8(2) << true << false << false;
    QTest::addRow("no access") << quint8(1) << false << false << false;
    QTest::addRow("bits 0-1 = 3 is no access") << quint8(3) << false << false << false;
    QTest::addRow("bits 0-1 = 0 is no access") << quint8(0) << false << false << false;
    QTest::addRow("POS mode") << quint8(1 | 4) << false << true << false;
    QTest::addRow("all") << quint8(2 | 4 | 8) << true << true << true;
}

void UsersTest::flags()
{
    QFETCH(quint8, flags);
    QFETCH(bool, settingsAccess);
    QFETCH(bool, posMode);
    QFETCH(bool, fullScreen);
    QList<AppUser> users;
    parseUsers(QByteArray(1, char(flags)) + QByteArray::fromHex("ff0300") + scramble(u"n"_s) +
                   QByteArray::fromHex("0100ff"),
               users);
    QCOMPARE(users.size(), 1);
    QCOMPARE(users[0], (AppUser{u"n"_s, QString(), settingsAccess, posMode, fullScreen}));
    QCOMPARE(serializeUsers(users).at(0) & 0x0F,
             char((settingsAccess ? 2 : 1) | (posMode ? 4 : 0) | (fullScreen ? 8 : 0)));
}

void UsersTest::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<AppUser>>("expected");

    const QByteArray first = serializeUsers({{u"ana"_s, u"pw"_s, true, false, false}});
    const QByteArray second = serializeUsers({{u"bia"_s, u"x"_s, false, false, false}});
    const AppUser ana{u"ana"_s, u"pw"_s, true, false, false};
    QTest::addRow("empty") << QByteArray() << QList<AppUser>{};
    QTest::addRow("one byte") << QByteArray(1, '\x02') << QList<AppUser>{};
    QTest::addRow("flags only") << QByteArray::fromHex("0200")
                                << QList<AppUser>{{{}, {}, true, false, false}};
    QTest::addRow("second user cut in its name")
        << first + second.left(6) << QList<AppUser>{ana, {{}, {}, false, false, false}};
    QTest::addRow("second user cut in its password")
        << first + second.left(second.size() - 1) << QList<AppUser>{ana, {u"bia"_s, {}, false, false, false}};
    // What follows a length that runs past the end is not read as more users:
    // those would be logins with empty names and passwords.
    QTest::addRow("name length beyond the end ends the list")
        << QByteArray::fromHex("0200ff00") + QByteArray::fromHex("0300") + scramble(u"z"_s)
        << QList<AppUser>{{QString(), QString(), true, false, false}};
    QTest::addRow("password length beyond the end ends the list")
        << first + QByteArray::fromHex("0100") + QByteArray::fromHex("0300") + scramble(u"b"_s) +
               QByteArray::fromHex("0900") + scramble(u"xy"_s)
        << QList<AppUser>{ana, {u"b"_s, {}, false, false, false}};
}

void UsersTest::damaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<AppUser>, expected);
    QList<AppUser> users;
    parseUsers(bytes, users);
    QCOMPARE(users, expected);
}

void UsersTest::findUser_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<qsizetype>("expected");
    QTest::addRow("default empty user") << QString() << QString() << qsizetype(0);
    QTest::addRow("first whose password matches") << u"caixa"_s << u"2"_s << qsizetype(2);
    QTest::addRow("same name, first password") << u"caixa"_s << u"1"_s << qsizetype(1);
    QTest::addRow("name is case-sensitive") << u"Caixa"_s << u"1"_s << qsizetype(-1);
    QTest::addRow("password is case-sensitive") << u"ger"_s << u"Abc"_s << qsizetype(-1);
    QTest::addRow("wrong password") << u"ger"_s << u""_s << qsizetype(-1);
}

void UsersTest::findUser()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(qsizetype, expected);
    const QList<AppUser> users = {{QString(), QString(), true, false, false},
                                  {u"caixa"_s, u"1"_s, false, false, false},
                                  {u"caixa"_s, u"2"_s, false, false, false},
                                  {u"ger"_s, u"abc"_s, true, false, false}};
    QCOMPARE(::findUser(users, name, password), expected);
}

void UsersTest::editorRules()
{
    // The editor shows "########" in place of the password.
    QCOMPARE(editedPassword(u"old"_s, PasswordPlaceholder), u"old"_s);
    QCOMPARE(editedPassword(u"old"_s, u"new"_s), u"new"_s);
    QCOMPARE(editedPassword(u"old"_s, QString()), QString());
    QCOMPARE(PasswordPlaceholder, u"########"_s);

    QList<AppUser> users = {{u"ana"_s, u"1"_s, false, true, true}};
    // Adding a name that exists updates that user, keeping its POS preferences.
    QCOMPARE(addOrUpdateUser(users, u"ana"_s, u"2"_s, true), 0);
    QCOMPARE(users, (QList<AppUser>{{u"ana"_s, u"2"_s, true, true, true}}));
    // Case counts: "Ana" is another user, added with the POS flags off.
    QCOMPARE(addOrUpdateUser(users, u"Ana"_s, u"3"_s, false), 1);
    QCOMPARE(users[1], (AppUser{u"Ana"_s, u"3"_s, false, false, false}));

    QCOMPARE(userDisplayName(AppUser{}), u"< vazio >"_s);
    QCOMPARE(userDisplayName(users[0]), u"ana"_s);
}

WIFITICKETER_TEST(UsersTest)
#include "userstest.moc"
