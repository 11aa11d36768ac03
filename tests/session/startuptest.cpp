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

Q_DECLARE_METATYPE(ListFile)

class StartupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstStart();
    void existingInstallation();
    void legacyInstallation();
    void routersFileWithoutRouters_data();
    void routersFileWithoutRouters();
    void damagedListsAreKept_data();
    void damagedListsAreKept();
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
    QCOMPARE(state.damagedLists, damaged ? QList<ListFile>{ListFile::Routers} : QList<ListFile>{});
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

// A list file that does not read whole is kept as it is; its list holds what
// came before the damage, and the operator is told which file it is.
void StartupTest::damagedListsAreKept_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QList<QByteArray>>("contents");
    QTest::addColumn<QList<ListFile>>("damaged");
    QTest::addColumn<QList<int>>("sizes"); // routers, hotspot profiles, names, designs read
    QTest::addColumn<QStringList>("told"); // the sentence naming each file

    const QByteArray routers = fixture(u"Routers.bin"_s);
    const QByteArray profiles = fixture(u"HotSpotProfiles.bin"_s);
    const QByteArray names = fixture(u"UserDatabase.bin"_s);
    const QByteArray designs = fixture(u"Voucher.bin"_s);
    // Where the second design starts: a header, three graphics, two texts.
    const qsizetype secondDesign = 428 + 3 * 436 + 2 * 432;
    const QString routersTold =
        u"A lista de roteadores não pôde ser lida por inteiro: o arquivo %1/Routers.bin está danificado."_s;
    const QString profilesTold = u"A lista de perfis do HotSpot não pôde ser lida por inteiro: o arquivo "
                                 "%1/HotSpotProfiles.bin está danificado."_s;
    const QString namesTold = u"A lista de nomes de usuário não pôde ser lida por inteiro: o arquivo "
                              "%1/UserDatabase.bin está danificado."_s;
    const QString designsTold = u"As definições de voucher não puderam ser lidas por inteiro: o arquivo "
                                "%1/Voucher.bin está danificado."_s;

    QTest::addRow("second router's size broken")
        << QStringList{u"Routers.bin"_s} << QList<QByteArray>{withU32(routers, 1420, 0x00FFFFFF)}
        << QList<ListFile>{ListFile::Routers} << QList<int>{1, 0, 0, 1} << QStringList{routersTold};
    QTest::addRow("second profile cut")
        << QStringList{u"HotSpotProfiles.bin"_s} << QList<QByteArray>{profiles.left(1228 + 614)}
        << QList<ListFile>{ListFile::HotSpotProfiles} << QList<int>{1, 1, 0, 1} << QStringList{profilesTold};
    QTest::addRow("a stray byte after the names")
        << QStringList{u"UserDatabase.bin"_s} << QList<QByteArray>{names + "\x07"_ba}
        << QList<ListFile>{ListFile::UserDatabase} << QList<int>{1, 0, 4, 1} << QStringList{namesTold};
    QTest::addRow("second design's header of a graphic's size")
        << QStringList{u"Voucher.bin"_s} << QList<QByteArray>{withU32(designs, secondDesign, 436)}
        << QList<ListFile>{ListFile::Designs} << QList<int>{1, 0, 0, 1} << QStringList{designsTold};
    // A file damaged from its start: the built-in design stands in for it.
    QTest::addRow("designs damaged from the start")
        << QStringList{u"Voucher.bin"_s} << QList<QByteArray>{designs.left(100)}
        << QList<ListFile>{ListFile::Designs} << QList<int>{1, 0, 0, 1} << QStringList{designsTold};
    QTest::addRow("all four, told in one message")
        << QStringList{u"Voucher.bin"_s, u"UserDatabase.bin"_s, u"HotSpotProfiles.bin"_s, u"Routers.bin"_s}
        << QList<QByteArray>{designs + "\x01"_ba, names.chopped(1), profiles + "\x01"_ba, routers + "\x01"_ba}
        << QList<ListFile>{ListFile::Routers, ListFile::HotSpotProfiles, ListFile::UserDatabase,
                           ListFile::Designs}
        << QList<int>{2, 2, 3, 2} << QStringList{routersTold, profilesTold, namesTold, designsTold};
    // Whole files of records of kinds the program does not know are no damage.
    QTest::addRow("unknown records only")
        << QStringList{u"Routers.bin"_s, u"HotSpotProfiles.bin"_s}
        << QList<QByteArray>{routers + recordBytes(1500, 2), profiles + recordBytes(40, 4)}
        << QList<ListFile>{} << QList<int>{2, 2, 0, 1} << QStringList{};
}

void StartupTest::damagedListsAreKept()
{
    QFETCH(QStringList, files);
    QFETCH(QList<QByteArray>, contents);
    QFETCH(QList<ListFile>, damaged);
    QFETCH(QList<int>, sizes);
    QFETCH(QStringList, told);

    TestFolder folder;
    for (qsizetype i = 0; i < files.size(); ++i)
        folder.writeDataFile(files[i], contents[i]);
    AppState state(folder.storagePaths());
    startUp(state);

    QCOMPARE(state.damagedLists, damaged);
    QVERIFY(!state.routersUnreadable);
    QCOMPARE(state.routers.size(), sizes[0]);
    // Without Routers.bin, the router of a first start.
    QCOMPARE(state.routers[0].Name, files.contains(u"Routers.bin") ? u"Café Central"_s : u"127.0.0.1"_s);
    QCOMPARE(state.hotSpotProfiles.size(), sizes[1]);
    QCOMPARE(state.userNames.size(), sizes[2]);
    QCOMPARE(state.designs.size(), sizes[3]);
    QStringList paragraphs;
    for (const QString &sentence : told)
        paragraphs.append(
            sentence.arg(folder.dataFolder()) +
            u"\nEle foi mantido como está e nada será gravado nele; corrija-o ou mova-o para outro "
            "lugar e inicie o programa novamente."_s);
    QCOMPARE(damagedListsText(state), paragraphs.join(u"\n\n"_s));
    for (qsizetype i = 0; i < files.size(); ++i)
        QCOMPARE(folder.readDataFile(files[i]), contents[i]);
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
