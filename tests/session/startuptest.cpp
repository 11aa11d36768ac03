#include "recordbytes.h"
#include "testfolder.h"
#include "testmain.h"

#include "config/hotspotprofilesfile.h"
#include "session/appstate.h"
#include "session/startup.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class StartupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstStart();
    void existingInstallation();
    void legacyInstallation();
    void routersFileWithoutRouters_data();
    void routersFileWithoutRouters();
    void posModeSurvivesRestart();
};

void StartupTest::firstStart()
{
    TestFolder folder;
    AppState state(folder.storagePaths());
    startUp(state);
    QVERIFY(!state.settings.SettingsPresent);
    QVERIFY(!state.settingsUnreadable);
    QCOMPARE(state.users, (QList<AppUser>{{QString(), QString(), true, false, false}}));
    QCOMPARE(state.routers.size(), 1);
    const RouterConfig &router = state.routers[0];
    QCOMPARE(router.Address, u"127.0.0.1"_s);
    QCOMPARE(router.Port, u"8728"_s);
    QCOMPARE(router.ApiUser, u"admin"_s);
    QVERIFY(state.hotSpotProfiles.isEmpty());
    QVERIFY(state.userNames.isEmpty());
    QCOMPARE(state.currentUser, -1);
    QCOMPARE(state.currentRouterIndex, -1);
    // Starting writes nothing.
    QVERIFY(!QFile::exists(folder.settingsFile()));
    QVERIFY(!QDir(folder.dataFolder()).exists());
}

void StartupTest::existingInstallation()
{
    TestFolder folder;
    folder.writeSettings(fixture(u"settings-export-utf16.reg"_s));
    folder.copyFixture(u"Routers.bin"_s, u"Routers.bin"_s);
    folder.copyFixture(u"HotSpotProfiles-legacy.bin"_s, u"HotSpotProfiles.bin"_s);
    folder.copyFixture(u"UserDatabase.bin"_s, u"UserDatabase.bin"_s);
    AppState state(folder.storagePaths());
    startUp(state);
    QVERIFY(state.settings.SettingsPresent);
    QCOMPARE(state.users.size(), 3);
    QCOMPARE(state.routers.size(), 2);
    QCOMPARE(state.routers[0].Name, u"Café Central"_s);
    QCOMPARE(state.hotSpotProfiles.size(), 2);
    QCOMPARE(state.hotSpotProfiles[0].Name, u"Diária"_s);
    QCOMPARE(state.userNames.size(), 4);
    QCOMPARE(priceFormat(state).pattern, u"R$ %c"_s);
}

void StartupTest::legacyInstallation()
{
    // An old installation: legacy values, and a Routers.bin that holds nothing.
    TestFolder folder;
    folder.writeSettings(fixture(u"settings-legacy.reg"_s));
    folder.writeDataFile(u"Routers.bin"_s, QByteArray());
    AppState state(folder.storagePaths());
    startUp(state);
    QCOMPARE(state.users, (QList<AppUser>{{u"dono"_s, u"senha"_s, true, false, false}}));
    QCOMPARE(state.routers.size(), 2);
    QCOMPARE(state.routers[0].Address, u"10.0.0.1"_s);
    QCOMPARE(state.routers[1].Address, u"10.0.0.2"_s);
    // The seeded routers are not written until the routers page saves them.
    QCOMPARE(folder.readDataFile(u"Routers.bin"_s), QByteArray());
    QVERIFY(!state.routersUnreadable);
    QVERIFY(!state.settingsUnreadable);
}

// With the legacy values of an old installation at hand: a Routers.bin with
// nothing to read still gets the seeded routers, a damaged one keeps the list
// empty and is reported, and stays as it was.
void StartupTest::routersFileWithoutRouters_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("damaged");

    QTest::addRow("empty") << QByteArray() << false;
    QTest::addRow("only a record of another kind") << recordBytes(628, 2, 'U') << false;
    QTest::addRow("record sizes broken") << withU32(fixture(u"Routers.bin"_s), 0, 0xFFFFFFFF) << true;
    QTest::addRow("first router cut short") << fixture(u"Routers.bin"_s).left(700) << true;
    QTest::addRow("a few stray bytes") << QByteArray("\x05\x00\x00", 3) << true;
}

void StartupTest::routersFileWithoutRouters()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, damaged);
    TestFolder folder;
    folder.writeSettings(fixture(u"settings-legacy.reg"_s));
    folder.writeDataFile(u"Routers.bin"_s, bytes);
    AppState state(folder.storagePaths());
    startUp(state);

    QCOMPARE(state.routersUnreadable, damaged);
    if (damaged) {
        QVERIFY(state.routers.isEmpty());
    } else {
        QCOMPARE(state.routers.size(), 2);
        QCOMPARE(state.routers[0].Address, u"10.0.0.1"_s);
    }
    // The rest of the installation starts as usual.
    QCOMPARE(state.users, (QList<AppUser>{{u"dono"_s, u"senha"_s, true, false, false}}));
    QCOMPARE(folder.readDataFile(u"Routers.bin"_s), bytes);
    QCOMPARE(QDir(folder.dataFolder()).entryList(QDir::Files), QStringList{u"Routers.bin"_s});
}

void StartupTest::posModeSurvivesRestart()
{
    TestFolder folder;
    {
        AppState state(folder.storagePaths());
        startUp(state);
        // Before a login there is no current user and nothing is written.
        setPosMode(state, true);
        QVERIFY(!QFile::exists(folder.settingsFile()));

        state.users.append({u"caixa"_s, u"1"_s, false, false, false});
        state.currentUser = 1;
        setPosMode(state, true);
        QVERIFY(state.users[1].PosMode);
    }
    AppState restarted(folder.storagePaths());
    startUp(restarted);
    QCOMPARE(restarted.users.size(), 2);
    QVERIFY(!restarted.users[0].PosMode);
    QVERIFY(restarted.users[1].PosMode);

    restarted.currentUser = 1;
    setPosMode(restarted, false);
    AppState again(folder.storagePaths());
    startUp(again);
    QVERIFY(!again.users[1].PosMode);
}

WIFITICKETER_TEST(StartupTest)
#include "startuptest.moc"
