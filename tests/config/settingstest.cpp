#include "filebytes.h"
#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/regfile.h"
#include "base/scramble.h"
#include "base/settingskey.h"
#include "config/appsettings.h"

#include <QFile>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

// A settings file holding the given values, in the order given.
QByteArray settingsFile(const RegKeyValues &values)
{
    return formatRegFile(SettingsKeyPath, values);
}

AppSettings loadFrom(const TestFolder &folder, QList<AppUser> *users = nullptr)
{
    AppSettings settings;
    QList<AppUser> ignored;
    loadSettings(SettingsKey(folder.settingsFile()), settings, users ? *users : ignored);
    return settings;
}

// The program users the fixture script gives the files after a save.
const QList<AppUser> FixtureUsers = {{QString(), QString(), true, false, false},
                                     {u"caixa"_s, u"1234"_s, false, true, true}};

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultsWithoutKey();
    void exportedKeyLoads();
    void readingRules_data();
    void readingRules();
    void saveSettingsWritesInOrder();
    void saveSettingsRoundTrip();
    void saveSettingsFailure();
    void saveValueAndOwnerOnlyFile();
    void saveKeepsWhatItDoesNotKnow();
    void regedit4KeepsItsForm();
    void otherEncodingsLoad_data();
    void otherEncodingsLoad();
    void unreadableFileIsLeftAlone_data();
    void unreadableFileIsLeftAlone();
    void firstProgramUser_data();
    void firstProgramUser();
    void legacyRouters_data();
    void legacyRouters();
};

void SettingsTest::defaultsWithoutKey()
{
    TestFolder folder;
    QList<AppUser> users;
    const AppSettings s = loadFrom(folder, &users);
    QVERIFY(!s.SettingsPresent);
    QCOMPARE(s.GenerateUserPrefix, u"user"_s);
    QCOMPARE(s.GenerateHotSpotUserPrefix, u"usr"_s);
    QVERIFY(s.CreateRandomUserName && s.CreateRandomPassword && s.MinimizeToTray && s.AutoPrint);
    QVERIFY(!s.UseUserDatabase && !s.VerifyCreatedUser && !s.UseOnlyNumbers && !s.QueryPassword &&
            !s.QueryUserData);
    QCOMPARE(s.HotSpotScheduleInterval, 600);
    QCOMPARE(s.GenerateUserSize, 6);
    QCOMPARE(s.GeneratePasswordSize, 6);
    QCOMPARE(s.UseCurrency, u"€"_s);
    QCOMPARE(s.VoucherSerial, 1u);
    QCOMPARE(users.size(), 1);
    QCOMPARE(users[0], (AppUser{QString(), QString(), true, false, false}));
    // Reading created nothing.
    QVERIFY(!QFile::exists(folder.settingsFile()));
}

void SettingsTest::exportedKeyLoads()
{
    TestFolder folder;
    folder.writeSettings(fixture(u"settings-export-utf16.reg"_s));
    QList<AppUser> users;
    const AppSettings s = loadFrom(folder, &users);
    QVERIFY(s.SettingsPresent);
    QCOMPARE(s.GenerateUserPrefix, u"um"_s);
    QCOMPARE(s.GenerateHotSpotUserPrefix, uR"(hs\"x)"_s);
    QVERIFY(!s.CreateRandomUserName && !s.CreateRandomPassword && !s.MinimizeToTray && !s.AutoPrint);
    QVERIFY(s.UseUserDatabase && s.VerifyCreatedUser && s.UseOnlyNumbers && s.QueryPassword &&
            s.QueryUserData);
    QCOMPARE(s.HotSpotScheduleInterval, 900);
    QCOMPARE(s.GenerateUserSize, 8);
    QCOMPARE(s.GeneratePasswordSize, 4);
    QCOMPARE(s.UseCurrency, u"R$ %c"_s);
    QCOMPARE(s.VoucherSerial, 123456u);
    QCOMPARE(users.size(), 3);
    QCOMPARE(users[1], (AppUser{u"caixa"_s, u"1234"_s, false, true, true}));
    QCOMPARE(users[2],
             (AppUser{u"gerente com um nome longo"_s, u"senha-muito-longa-123"_s, true, false, true}));
}

void SettingsTest::readingRules_data()
{
    QTest::addColumn<RegKeyValues>("stored");
    QTest::addColumn<qint32>("userSize");
    QTest::addColumn<QString>("userPrefix");
    QTest::addColumn<bool>("autoPrint");
    QTest::addColumn<qint64>("interval");
    QTest::addColumn<quint32>("serial");

    QTest::addRow("number stored as text takes its first 4 bytes")
        << RegKeyValues{{u"GenerateUserSize"_s, stringValue(u"6"_s)}} << 0x36 << u"user"_s << true
        << qint64(600) << 1u;
    QTest::addRow("199-character text is read")
        << RegKeyValues{{u"GenerateUserPrefix"_s, stringValue(QString(199, u'p'))}} << 6 << QString(199, u'p')
        << true << qint64(600) << 1u;
    QTest::addRow("200-character text keeps the default")
        << RegKeyValues{{u"GenerateUserPrefix"_s, stringValue(QString(200, u'p'))}} << 6 << u"user"_s << true
        << qint64(600) << 1u;
    QTest::addRow("text without NUL filling the buffer is cut to 199")
        << RegKeyValues{{u"GenerateUserPrefix"_s, RegValue{RegString, QByteArray(400, 'a')}}} << 6
        << QString(199, QChar(0x6161)) << true << qint64(600) << 1u;
    QTest::addRow("AutoPrint on when not 0")
        << RegKeyValues{{u"AutoPrint"_s, dwordValue(2)}} << 6 << u"user"_s << true << qint64(600) << 1u;
    QTest::addRow("AutoPrint 0 is off")
        << RegKeyValues{{u"AutoPrint"_s, dwordValue(0)}} << 6 << u"user"_s << false << qint64(600) << 1u;
    QTest::addRow("short binary number is zero-filled")
        << RegKeyValues{{u"VoucherSerial"_s, binaryValue(QByteArray::fromHex("0201"))}} << 6 << u"user"_s
        << true << qint64(600) << 0x0102u;
    QTest::addRow("value over 400 bytes keeps the default")
        << RegKeyValues{{u"VoucherSerial"_s, binaryValue(QByteArray(401, '\x05'))}} << 6 << u"user"_s << true
        << qint64(600) << 1u;
    QTest::addRow("interval takes the first 8 bytes")
        << RegKeyValues{{u"HotSpotScheduleInterval"_s,
                         binaryValue(QByteArray::fromHex("2c01000000000000ffff"))}}
        << 6 << u"user"_s << true << qint64(300) << 1u;
    QTest::addRow("interval stored as dword")
        << RegKeyValues{{u"HotSpotScheduleInterval"_s, dwordValue(1200)}} << 6 << u"user"_s << true
        << qint64(1200) << 1u;
    QTest::addRow("negative size read as is") << RegKeyValues{{u"GenerateUserSize"_s, dwordValue(0xFFFFFFFF)}}
                                              << -1 << u"user"_s << true << qint64(600) << 1u;
}

void SettingsTest::readingRules()
{
    QFETCH(RegKeyValues, stored);
    QFETCH(qint32, userSize);
    QFETCH(QString, userPrefix);
    QFETCH(bool, autoPrint);
    QFETCH(qint64, interval);
    QFETCH(quint32, serial);
    TestFolder folder;
    folder.writeSettings(settingsFile(stored));
    const AppSettings s = loadFrom(folder);
    QCOMPARE(s.GenerateUserSize, userSize);
    QCOMPARE(s.GenerateUserPrefix, userPrefix);
    QCOMPARE(s.AutoPrint, autoPrint);
    QCOMPARE(s.HotSpotScheduleInterval, interval);
    QCOMPARE(s.VoucherSerial, serial);
}

void SettingsTest::saveSettingsWritesInOrder()
{
    TestFolder folder;
    AppSettings s;
    s.UseCurrency = u"R$ %c"_s;
    s.VoucherSerial = 42;
    const QList<AppUser> users = {{u"a"_s, u"b"_s, true, false, false}};
    ScriptedInteraction interaction;
    QVERIFY(saveSettings(SettingsKey(folder.settingsFile()), s, users, interaction));
    QVERIFY(s.SettingsPresent);
    QVERIFY(interaction.events.isEmpty());

    bool read = false;
    const QByteArray written = readFile(folder.settingsFile(), &read);
    QVERIFY(read);
    const QByteArray expected = "Windows Registry Editor Version 5.00\n"
                                "\n"
                                "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n"
                                "\"UsersData\"=hex:02,00,03,00,ff,ed,78,03,00,ff,ee,78\n"
                                "\"GenerateUserPrefix\"=\"user\"\n"
                                "\"CreateRandomUserName\"=dword:00000001\n"
                                "\"UseUserDatabase\"=dword:00000000\n"
                                "\"VerifyCreatedUser\"=dword:00000000\n"
                                "\"CreateRandomPassword\"=dword:00000001\n"
                                "\"UseOnlyNumbers\"=dword:00000000\n"
                                "\"QueryPassword\"=dword:00000000\n"
                                "\"QueryUserData\"=dword:00000000\n"
                                "\"GenerateHotSpotUserPrefix\"=\"usr\"\n"
                                "\"HotSpotScheduleInterval\"=hex:58,02,00,00,00,00,00,00\n"
                                "\"MinimizeToTray\"=dword:00000001\n"
                                "\"GenerateUserSize\"=dword:00000006\n"
                                "\"UseCurrency\"=\"R$ %c\"\n"
                                "\"GeneratePasswordSize\"=dword:00000006\n"
                                "\"VoucherSerial\"=dword:0000002a\n"
                                "\"HistoryDatabase\"=\"\"\n"
                                "\n";
    QCOMPARE(written, expected);
}

void SettingsTest::saveSettingsRoundTrip()
{
    TestFolder folder;
    folder.writeSettings(fixture(u"settings-legacy.reg"_s));
    AppSettings s;
    s.GenerateUserPrefix = u"cliente-"_s;
    s.UseOnlyNumbers = true;
    s.HotSpotScheduleInterval = 3600;
    s.GenerateUserSize = 12;
    s.VoucherSerial = 999999999;
    const QList<AppUser> users = {{u"ana"_s, u"x"_s, false, true, false},
                                  {u"bia"_s, QString(), true, false, true}};
    ScriptedInteraction interaction;
    QVERIFY(saveSettings(SettingsKey(folder.settingsFile()), s, users, interaction));

    QList<AppUser> readUsers;
    const AppSettings back = loadFrom(folder, &readUsers);
    QCOMPARE(readUsers, users);
    QCOMPARE(back.GenerateUserPrefix, s.GenerateUserPrefix);
    QCOMPARE(back.UseOnlyNumbers, true);
    QCOMPARE(back.HotSpotScheduleInterval, 3600);
    QCOMPARE(back.GenerateUserSize, 12);
    QCOMPARE(back.VoucherSerial, 999999999u);
    // The legacy values of the key are still there.
    QCOMPARE(back.Legacy.MikrotikAddress, u"10.0.0.1"_s);
    QCOMPARE(back.Legacy.MikrotikUser, u"gestor"_s);
}

void SettingsTest::saveSettingsFailure()
{
    TestFolder folder;
    // The settings folder cannot be created: a file stands where it would be.
    folder.writeSettings("not a folder");
    const SettingsKey key(folder.settingsFile() + u"/settings.reg"_s);
    AppSettings s;
    ScriptedInteraction interaction;
    QVERIFY(!saveSettings(key, s, {}, interaction));
    QVERIFY(!s.SettingsPresent);
    QCOMPARE(interaction.events.size(), 1);
    QCOMPARE(interaction.events[0].text, u"Ocorreu um erro ao gravar no registro do windows."_s);
    QCOMPARE(interaction.events[0].icon, MessageIcon::Error);
}

void SettingsTest::saveValueAndOwnerOnlyFile()
{
    TestFolder folder;
    const SettingsKey key(folder.settingsFile());
    saveValue(key, u"VoucherSerial"_s, dwordValue(77));
    saveValue(key, u"AutoPrint"_s, dwordValue(0));
    const AppSettings s = loadFrom(folder);
    QVERIFY(s.SettingsPresent);
    QCOMPARE(s.VoucherSerial, 77u);
    QCOMPARE(s.AutoPrint, false);
    // The file holds the program users' passwords.
    QCOMPARE(permissionBits(folder.settingsFile()), 0600);

    // A failing write is silent.
    saveValue(SettingsKey(folder.settingsFile() + u"/x.reg"_s), u"AutoPrint"_s, dwordValue(1));
}

void SettingsTest::saveKeepsWhatItDoesNotKnow()
{
    TestFolder folder;
    folder.writeSettings(fixture(u"settings-kept.reg"_s));
    AppSettings s = loadFrom(folder);
    QVERIFY(s.SettingsPresent);
    QCOMPARE(s.GenerateUserPrefix, u"velho"_s);
    QCOMPARE(s.VoucherSerial, 42u);
    QCOMPARE(s.GenerateUserSize, 6); // its line cannot be read
    QCOMPARE(s.AutoPrint, false);

    AppSettings changed;
    changed.GenerateUserPrefix = u"novo"_s;
    changed.VoucherSerial = 42;
    ScriptedInteraction interaction;
    QVERIFY(saveSettings(SettingsKey(folder.settingsFile()), changed, FixtureUsers, interaction));
    QVERIFY(interaction.events.isEmpty());
    // Comments, the other keys and the unknown line stay byte for byte; the
    // changed value is where it was, so is the one whose line could not be
    // read (now readable), and the new ones follow the key's last value.
    QCOMPARE(readFile(folder.settingsFile()), fixture(u"settings-kept-saved.reg"_s));
    QCOMPARE(permissionBits(folder.settingsFile()), 0600);
}

void SettingsTest::regedit4KeepsItsForm()
{
    TestFolder folder;
    folder.writeSettings(fixture(u"settings-regedit4.reg"_s));
    AppSettings s = loadFrom(folder);
    QVERIFY(s.SettingsPresent);
    QCOMPARE(s.GenerateUserPrefix, u"açaí"_s);
    QCOMPARE(s.UseCurrency, u"R$ %c"_s);
    QCOMPARE(s.GenerateHotSpotUserPrefix, u"hs"_s);
    QCOMPARE(s.VoucherSerial, 16u);

    s.UseCurrency = u"€ %c"_s;
    s.VoucherSerial = 17;
    ScriptedInteraction interaction;
    QVERIFY(saveSettings(SettingsKey(folder.settingsFile()), s, FixtureUsers, interaction));
    QCOMPARE(readFile(folder.settingsFile()), fixture(u"settings-regedit4-saved.reg"_s));

    QList<AppUser> users;
    const AppSettings back = loadFrom(folder, &users);
    QCOMPARE(back.GenerateUserPrefix, u"açaí"_s);
    QCOMPARE(back.UseCurrency, u"€ %c"_s);
    QCOMPARE(back.VoucherSerial, 17u);
    QCOMPARE(users, FixtureUsers);
}

void SettingsTest::otherEncodingsLoad_data()
{
    QTest::addColumn<QString>("file");
    QTest::addRow("UTF-16LE without byte-order mark") << u"settings-utf16le-nobom.reg"_s;
    QTest::addRow("UTF-16BE") << u"settings-utf16be.reg"_s;
    QTest::addRow("UTF-16BE without byte-order mark") << u"settings-utf16be-nobom.reg"_s;
}

void SettingsTest::otherEncodingsLoad()
{
    QFETCH(QString, file);
    TestFolder folder;
    folder.writeSettings(fixture(file));
    const AppSettings s = loadFrom(folder);
    QVERIFY(s.SettingsPresent);
    QCOMPARE(s.GenerateUserPrefix, u"ñandú"_s);
    QCOMPARE(s.VoucherSerial, 99u);
}

void SettingsTest::unreadableFileIsLeftAlone_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("UTF-32") << fixture(u"settings-utf32.reg"_s);
    QTest::addRow("random bytes") << fixture(u"settings-random.bin"_s);
    // A registry export, but larger than the reader takes (1 MiB).
    QByteArray large = fixture(u"settings-legacy.reg"_s);
    large += "; " + QByteArray(1024 * 1024 - large.size(), '-');
    QTest::addRow("over the size limit") << large;
}

void SettingsTest::unreadableFileIsLeftAlone()
{
    QFETCH(QByteArray, bytes);
    TestFolder folder;
    folder.writeSettings(bytes);
    const SettingsKey key(folder.settingsFile());

    // Nothing is read from it: the defaults.
    QList<AppUser> users;
    AppSettings s = loadFrom(folder, &users);
    QVERIFY(!s.SettingsPresent);
    QCOMPARE(s.GenerateUserPrefix, u"user"_s);
    QCOMPARE(s.VoucherSerial, 1u);
    QCOMPARE(users, (QList<AppUser>{{{}, {}, true, false, false}}));

    // A save fails and tells the operator; the file stays as it was.
    ScriptedInteraction interaction;
    QVERIFY(!saveSettings(key, s, users, interaction));
    QVERIFY(!s.SettingsPresent);
    QCOMPARE(interaction.events.size(), 1);
    QCOMPARE(interaction.events[0].text, u"Ocorreu um erro ao gravar no registro do windows."_s);
    QCOMPARE(interaction.events[0].icon, MessageIcon::Error);
    QVERIFY(readFile(folder.settingsFile()) == bytes);

    // A single value is not written either.
    saveValue(key, u"VoucherSerial"_s, dwordValue(5));
    QVERIFY(readFile(folder.settingsFile()) == bytes);
}

void SettingsTest::firstProgramUser_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<AppUser>>("expected");

    const auto key = [](const RegKeyValues &values) { return settingsFile(values); };
    QTest::addRow("no key: empty administrator")
        << QByteArray() << QList<AppUser>{{{}, {}, true, false, false}};
    QTest::addRow("key without users: the old single user")
        << key({{u"UserName"_s, binaryValue(scramble(u"dono"_s))},
                {u"UserPassword"_s, binaryValue(scramble(u"senha"_s))}})
        << QList<AppUser>{{u"dono"_s, u"senha"_s, true, false, false}};
    QTest::addRow("key without any user value")
        << key({{u"AutoPrint"_s, dwordValue(1)}}) << QList<AppUser>{{{}, {}, true, false, false}};
    QTest::addRow("users present: no extra user")
        << key({{u"UsersData"_s, binaryValue(fixture(u"UsersData.bin"_s))},
                {u"UserName"_s, binaryValue(scramble(u"dono"_s))}})
        << QList<AppUser>{{{}, {}, true, false, false}, {u"caixa"_s, u"1234"_s, false, true, true}};
    QTest::addRow("empty users value: the old single user")
        << key({{u"UsersData"_s, binaryValue({})}, {u"UserName"_s, binaryValue(scramble(u"x"_s))}})
        << QList<AppUser>{{u"x"_s, {}, true, false, false}};
}

void SettingsTest::firstProgramUser()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<AppUser>, expected);
    TestFolder folder;
    if (!file.isEmpty())
        folder.writeSettings(file);
    QList<AppUser> users;
    loadFrom(folder, &users);
    QCOMPARE(users, expected);
}

void SettingsTest::legacyRouters_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<RouterConfig>>("expected");

    RouterConfig defaults;
    defaults.Name = defaults.Address = u"127.0.0.1"_s;
    defaults.ApiUser = u"admin"_s;
    QTest::addRow("no key") << QByteArray() << QList<RouterConfig>{defaults};

    RouterConfig a;
    a.Name = a.Address = u"10.0.0.1"_s;
    a.Port = u"8000"_s;
    a.ApiUser = u"gestor"_s;
    a.ApiPassword = u"pw-A"_s;
    a.UserManagerAdmin = u"cliente"_s;
    a.MacBinding = true;
    a.EnableHotSpotProfiles = false;
    RouterConfig b;
    b.Name = b.Address = u"10.0.0.2"_s;
    b.Port = u"8001"_s;
    b.ApiUser = u"hsuser"_s;
    b.ApiPassword = u"pw-B"_s;
    b.EnableUserManagerProfiles = false;
    QTest::addRow("two legacy routers") << fixture(u"settings-legacy.reg"_s) << QList<RouterConfig>{a, b};

    RouterConfig one = defaults;
    one.EnableUserManagerProfiles = false;
    QTest::addRow("one router without User Manager")
        << settingsFile({{u"EnableUserManager"_s, dwordValue(0)}, {u"OneRouter"_s, dwordValue(1)}})
        << QList<RouterConfig>{one};
}

void SettingsTest::legacyRouters()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<RouterConfig>, expected);
    TestFolder folder;
    if (!file.isEmpty())
        folder.writeSettings(file);
    QCOMPARE(::legacyRouters(loadFrom(folder).Legacy), expected);
}

WIFITICKETER_TEST(SettingsTest)
#include "settingstest.moc"
