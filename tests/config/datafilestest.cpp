#include "filebytes.h"
#include "filesizelimit.h"
#include "readfrombytes.h"
#include "recordbytes.h"
#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/binaryfields.h"
#include "config/hotspotprofilesfile.h"
#include "config/routersfile.h"
#include "config/userdatabasefile.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The routers and profiles the fixtures of tests/data hold.
QList<RouterConfig> fixtureRouters()
{
    return {
        {u"Café Central"_s, u"192.168.88.1"_s, u"8728"_s, u"api"_s, u"s3cr\u00e9t"_s, true, true, false,
         u"admin"_s},
        {u"Hotel Mar"_s, u"hotspot.example.net"_s, u"8729"_s, u"operador"_s, QString(), true, false, true,
         QString()},
    };
}

QList<HotSpotProfile> fixtureProfiles()
{
    return {
        {u"1 hora"_s, 3600, 3600, u"default"_s, QString(), QString(), QString(), QString(), 500},
        {u"Diária Premium"_s, 86400, 0, u"premium"_s, u"hotspot1"_s, u"100M"_s, u"200M"_s, u"1G"_s, 1250},
    };
}

QList<RouterConfig> routersOf(const QByteArray &bytes)
{
    return readFromBytes(bytes, readRouters);
}

QList<HotSpotProfile> profilesOf(const QByteArray &bytes)
{
    return readFromBytes(bytes, readHotSpotProfiles);
}

QStringList namesOf(const QByteArray &bytes)
{
    return readFromBytes(bytes, readUserDatabase);
}

} // namespace

class DataFilesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void routersFixture();
    void routersDamaged_data();
    void routersDamaged();
    void routerTextFields();
    void hotSpotProfilesFixture();
    void hotSpotProfilesOlderTypes();
    void hotSpotProfilesDamaged_data();
    void hotSpotProfilesDamaged();
    void userDatabaseFixture();
    void userDatabaseDamaged_data();
    void userDatabaseDamaged();
    void userDatabaseLongName();
    void loadAppendsAndSaveReplaces();
    void loadTellsDamageFromNoRouters_data();
    void loadTellsDamageFromNoRouters();
    void loadLeavesFolderAsRoutersFile();
    void routersFileIsOwnerOnly();
    void saveFailures();
    void failedWriteKeepsOldFile();
};

void DataFilesTest::routersFixture()
{
    QCOMPARE(routersOf(fixture(u"Routers.bin"_s)), fixtureRouters());
    QCOMPARE(serializeRouters(fixtureRouters()), fixture(u"Routers.bin"_s));
    // A record of a type Routers.bin does not know is skipped.
    QCOMPARE(routersOf(fixture(u"Routers-unknown-type.bin"_s)), fixtureRouters());
}

void DataFilesTest::routersDamaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kept");
    const QByteArray two = fixture(u"Routers.bin"_s);
    QTest::addRow("empty") << QByteArray() << 0;
    QTest::addRow("second record cut") << two.left(2000) << 1;
    QTest::addRow("size field cut") << two.left(1422) << 1;
    QTest::addRow("size 2000 stops") << withU32(two, 1420, 2000) << 1;
    QTest::addRow("type 1 of wrong size stops") << withU32(two, 1420, 1416) << 1;
    QTest::addRow("size too small for a header stops") << withU32(two, 1420, 3) << 1;
    QTest::addRow("first record broken") << withU32(two, 0, 0xFFFFFFFF) << 0;
    QTest::addRow("trailing bytes") << two + QByteArray(3, '\x01') << 2;
}

void DataFilesTest::routersDamaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kept);
    const QList<RouterConfig> routers = routersOf(bytes);
    QCOMPARE(routers, fixtureRouters().first(kept));
}

void DataFilesTest::routerTextFields()
{
    RouterConfig r;
    r.Name = QString(150, u'n');
    // A character outside the basic plane must not be cut in half.
    r.Address = QString(98, u'a') + u"😀"_s;
    const QByteArray bytes = serializeRouters({r});
    QCOMPARE(bytes.size(), 1420);
    const RouterConfig back = routersOf(bytes).value(0);
    QCOMPARE(back.Name, QString(99, u'n'));
    QCOMPARE(back.Address, QString(98, u'a'));
    QCOMPARE(back.Port, u"8728"_s);
}

void DataFilesTest::hotSpotProfilesFixture()
{
    QCOMPARE(profilesOf(fixture(u"HotSpotProfiles.bin"_s)), fixtureProfiles());
    QCOMPARE(serializeHotSpotProfiles(fixtureProfiles()), fixture(u"HotSpotProfiles.bin"_s));
}

void DataFilesTest::hotSpotProfilesOlderTypes()
{
    // Types 1 and 2 hold Windows-1252 texts; type 1 has no server.
    const QList<HotSpotProfile> expected = {
        {u"Diária"_s, 86400, 7200, u"padrão"_s, QString(), QString(), QString(), QString(), 1000},
        {u"Semana €"_s, 604800, 0, u"semana"_s, u"hs-café"_s, u"1M"_s, u"2M"_s, u"3M"_s, 3000},
    };
    const QList<HotSpotProfile> read = profilesOf(fixture(u"HotSpotProfiles-legacy.bin"_s));
    QCOMPARE(read, expected);
    // Saving writes them as type 3 records.
    const QByteArray saved = serializeHotSpotProfiles(read);
    QCOMPARE(saved.size(), 2 * 1228);
    QCOMPARE(getU32(saved, 4), 3u);
    QCOMPARE(getU32(saved, 1228 + 4), 3u);
    QCOMPARE(profilesOf(saved), expected);
}

void DataFilesTest::hotSpotProfilesDamaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kept");
    const QByteArray two = fixture(u"HotSpotProfiles.bin"_s);
    QTest::addRow("type 3 with size 1000 stops") << withU32(two, 1228, 1000) << 1;
    QTest::addRow("type 2 size on a type 3 stops") << withU32(two, 1228 + 4, 2) << 1;
    QTest::addRow("unknown type skipped") << withU32(two, 4, 9) << 1;
    QTest::addRow("cut") << two.left(1228 + 600) << 1;
}

void DataFilesTest::hotSpotProfilesDamaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kept);
    const QList<HotSpotProfile> read = profilesOf(bytes);
    QCOMPARE(read.size(), kept);
    QVERIFY(fixtureProfiles().contains(read.value(0)));
}

void DataFilesTest::userDatabaseFixture()
{
    const QStringList names = {u"maria"_s, QString(), u"José da Silva"_s, u"quarto 12"_s};
    QCOMPARE(namesOf(fixture(u"UserDatabase.bin"_s)), names);
    QCOMPARE(serializeUserDatabase(names), fixture(u"UserDatabase.bin"_s));
    QCOMPARE(serializeUserDatabase({}), QByteArray());
}

void DataFilesTest::userDatabaseDamaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    const QByteArray ok = QByteArray::fromHex("0400610062000000020063"
                                              "00");
    QTest::addRow("empty file") << QByteArray() << QStringList{};
    QTest::addRow("well formed") << ok << QStringList{u"ab"_s, QString(), u"c"_s};
    QTest::addRow("odd length drops the last byte")
        << QByteArray::fromHex("030061006200") << QStringList{u"a"_s};
    QTest::addRow("length 2000 stops") << ok + QByteArray::fromHex("d007") + QByteArray(2000, 'x')
                                       << QStringList{u"ab"_s, QString(), u"c"_s};
    QTest::addRow("cut name stops") << ok + QByteArray::fromHex("0a006100")
                                    << QStringList{u"ab"_s, QString(), u"c"_s};
    QTest::addRow("one stray byte") << ok + QByteArray(1, '\x01') << QStringList{u"ab"_s, QString(), u"c"_s};
}

void DataFilesTest::userDatabaseDamaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(namesOf(bytes), expected);
}

void DataFilesTest::userDatabaseLongName()
{
    // Longer names are cut so that the file still reads back whole.
    const QStringList names = {QString(1500, u'x'), u"next"_s};
    const QStringList back = namesOf(serializeUserDatabase(names));
    QCOMPARE(back, (QStringList{QString(999, u'x'), u"next"_s}));
}

void DataFilesTest::loadAppendsAndSaveReplaces()
{
    TestFolder folder;
    ScriptedInteraction interaction;
    // Nothing there: the lists stay as they are and nothing is created.
    QList<RouterConfig> routers = {RouterConfig{}};
    loadRouters(folder.dataFolder(), routers);
    QCOMPARE(routers.size(), 1);
    QVERIFY(!QDir(folder.dataFolder()).exists());

    // Saving creates the folder; loading appends to what the list holds.
    QVERIFY(saveRouters(folder.dataFolder(), fixtureRouters(), interaction));
    QVERIFY(saveHotSpotProfiles(folder.dataFolder(), fixtureProfiles(), interaction));
    QVERIFY(saveUserDatabase(folder.dataFolder(), {u"a"_s}, interaction));
    loadRouters(folder.dataFolder(), routers);
    QCOMPARE(routers, QList<RouterConfig>{RouterConfig{}} + fixtureRouters());
    QList<HotSpotProfile> profiles;
    loadHotSpotProfiles(folder.dataFolder(), profiles);
    QCOMPARE(profiles, fixtureProfiles());
    QStringList names;
    loadUserDatabase(folder.dataFolder(), names);
    QCOMPARE(names, QStringList{u"a"_s});

    // A save replaces the whole file; no temporary file is left beside it.
    QVERIFY(saveRouters(folder.dataFolder(), fixtureRouters().first(1), interaction));
    QCOMPARE(folder.readDataFile(u"Routers.bin"_s), fixture(u"Routers.bin"_s).left(1420));
    QVERIFY(saveUserDatabase(folder.dataFolder(), {}, interaction));
    QCOMPARE(folder.readDataFile(u"UserDatabase.bin"_s), QByteArray());
    QCOMPARE(QDir(folder.dataFolder()).entryList(QDir::Files),
             (QStringList{u"HotSpotProfiles.bin"_s, u"Routers.bin"_s, u"UserDatabase.bin"_s}));
    QVERIFY(interaction.events.isEmpty());
}

// A file that yields no router is either nothing at all (absent, empty, or
// a whole list of records of other kinds) or damage; damage must be told apart
// so that nothing is seeded over it.
void DataFilesTest::loadTellsDamageFromNoRouters_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("state"); // RoutersFileState
    QTest::addColumn<int>("routers");

    const QByteArray two = fixture(u"Routers.bin"_s);
    const QByteArray other = recordBytes(628, 2, 'U');
    const int absent = int(RoutersFileState::Absent);
    const int read = int(RoutersFileState::Read);
    const int unreadable = int(RoutersFileState::Unreadable);
    QTest::addRow("no file") << false << QByteArray() << absent << 0;
    QTest::addRow("empty file") << true << QByteArray() << absent << 0;
    QTest::addRow("two routers") << true << two << read << 2;
    QTest::addRow("only records of another kind") << true << other + other << read << 0;
    QTest::addRow("a router after another kind") << true << other + two.left(1420) << read << 1;
    // Routers read stay read, whatever follows them.
    QTest::addRow("a router, then damage") << true << two.left(2000) << read << 1;
    QTest::addRow("three stray bytes") << true << QByteArray("\x01\x02\x03", 3) << unreadable << 0;
    QTest::addRow("first size broken") << true << withU32(two, 0, 0xFFFFFFFF) << unreadable << 0;
    QTest::addRow("first size too small") << true << withU32(two, 0, 3) << unreadable << 0;
    QTest::addRow("router record of the wrong size") << true << withU32(two, 0, 1416) << unreadable << 0;
    QTest::addRow("first record cut") << true << two.left(1000) << unreadable << 0;
    QTest::addRow("another kind, then damage") << true << other + QByteArray(5, '\xff') << unreadable << 0;
    QTest::addRow("text") << true << QByteArray("Café Central;192.168.88.1;8728\n") << unreadable << 0;
}

void DataFilesTest::loadTellsDamageFromNoRouters()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, bytes);
    QFETCH(int, state);
    QFETCH(int, routers);

    TestFolder folder;
    if (present)
        folder.writeDataFile(u"Routers.bin"_s, bytes);
    QList<RouterConfig> loaded;
    QCOMPARE(int(loadRouters(folder.dataFolder(), loaded)), state);
    QCOMPARE(loaded, fixtureRouters().first(routers));
    if (present)
        QCOMPARE(folder.readDataFile(u"Routers.bin"_s), bytes);
}

void DataFilesTest::loadLeavesFolderAsRoutersFile()
{
    // A Routers.bin that cannot be opened is not taken for a missing one.
    TestFolder folder;
    QVERIFY(QDir().mkpath(folder.dataFolder() + u"/Routers.bin"_s));
    QList<RouterConfig> routers;
    QCOMPARE(loadRouters(folder.dataFolder(), routers), RoutersFileState::Unreadable);
    QVERIFY(routers.isEmpty());
    QCOMPARE(loadRouters(QString(), routers), RoutersFileState::Absent);
}

void DataFilesTest::routersFileIsOwnerOnly()
{
    TestFolder folder;
    // Even a file that others could read before becomes owner-only when saved.
    folder.copyFixture(u"Routers.bin"_s, u"Routers.bin"_s);
    QFile::setPermissions(folder.dataFolder() + u"/Routers.bin"_s,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                              QFileDevice::ReadOther);
    ScriptedInteraction interaction;
    QVERIFY(saveRouters(folder.dataFolder(), fixtureRouters(), interaction));
    QCOMPARE(permissionBits(folder.dataFolder() + u"/Routers.bin"_s), 0600);
}

void DataFilesTest::saveFailures()
{
    // A file stands where the data folder should be: nothing can be written,
    // the operator is told, and the file stays untouched.
    TestFolder folder;
    QDir().mkpath(folder.path());
    QVERIFY(writeFile(folder.dataFolder(), "keep"));

    ScriptedInteraction interaction;
    QVERIFY(!saveRouters(folder.dataFolder(), fixtureRouters(), interaction));
    QVERIFY(!saveHotSpotProfiles(folder.dataFolder(), fixtureProfiles(), interaction));
    QVERIFY(!saveUserDatabase(folder.dataFolder(), {u"a"_s}, interaction));
    QCOMPARE(
        interaction.texts(),
        (QStringList{u"Ocorreu um erro inesperado salvar as definições do router."_s,
                     u"Um erro desconhecido ocorreu enquanto era salvo as definições de perfil do HotSpot."_s,
                     u"Ocorreu um erro inesperado salvar as definições do router."_s}));
    for (const auto &event : interaction.events)
        QCOMPARE(event.icon, MessageIcon::Information);

    // Routers.bin is a folder: the save fails and nothing of it is lost.
    TestFolder other;
    QDir().mkpath(other.dataFolder() + u"/Routers.bin/inside"_s);
    ScriptedInteraction second;
    QVERIFY(!saveRouters(other.dataFolder(), fixtureRouters(), second));
    QCOMPARE(second.events.size(), 1);
    QVERIFY(QDir(other.dataFolder() + u"/Routers.bin/inside"_s).exists());
}

void DataFilesTest::failedWriteKeepsOldFile()
{
    TestFolder folder;
    ScriptedInteraction interaction;
    QVERIFY(saveRouters(folder.dataFolder(), fixtureRouters().first(1), interaction));

    // A disk that fills up half way: the process may write no more than 2000
    // bytes to any file, so the second record cannot be written.
    bool saved = true;
    {
        const FileSizeLimit limit(2000);
        QVERIFY(limit.isSet());
        saved = saveRouters(folder.dataFolder(), fixtureRouters(), interaction);
    }

    QVERIFY(!saved);
    QCOMPARE(interaction.texts(),
             QStringList{u"Ocorreu um erro inesperado salvar as definições do router."_s});
    QCOMPARE(folder.readDataFile(u"Routers.bin"_s), fixture(u"Routers.bin"_s).left(1420));
    QCOMPARE(QDir(folder.dataFolder()).entryList(QDir::Files), QStringList{u"Routers.bin"_s});
}

WIFITICKETER_TEST(DataFilesTest)
#include "datafilestest.moc"
