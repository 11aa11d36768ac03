#include "filebytes.h"
#include "filesizelimit.h"
#include "readfrombytes.h"
#include "recordbytes.h"
#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/binaryfields.h"
#include "base/settingskey.h"
#include "config/appsettings.h"
#include "config/hotspotprofilesfile.h"
#include "config/routersfile.h"
#include "config/userdatabasefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

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

const QString RoutersNotSaved = u"Ocorreu um erro inesperado salvar as definições do router."_s;
const QString ProfilesNotSaved =
    u"Um erro desconhecido ocorreu enquanto era salvo as definições de perfil do HotSpot."_s;
const QString SettingsNotSaved = u"Ocorreu um erro ao gravar no registro do windows."_s;
const QString LinkRefusal =
    u"O arquivo %1 é um link simbólico e não foi alterado: o programa não grava através de "
    "links. Coloque o próprio arquivo no lugar do link."_s;

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
    void loadTellsState_data();
    void loadTellsState();
    void loadLeavesFolderAsListFile();
    void ownerOnlyFiles_data();
    void ownerOnlyFiles();
    void symbolicLinkNeverWritten_data();
    void symbolicLinkNeverWritten();
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

// What is read before damage is kept; the reader tells whether the bytes
// read whole, so that nothing saves a list with less over them.
void DataFilesTest::routersDamaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kept");
    QTest::addColumn<bool>("whole");
    const QByteArray two = fixture(u"Routers.bin"_s);
    QTest::addRow("empty") << QByteArray() << 0 << true;
    QTest::addRow("two routers") << two << 2 << true;
    QTest::addRow("unknown type skipped") << fixture(u"Routers-unknown-type.bin"_s) << 2 << true;
    QTest::addRow("second record cut") << two.left(2000) << 1 << false;
    QTest::addRow("size field cut") << two.left(1422) << 1 << false;
    QTest::addRow("size 2000 stops") << withU32(two, 1420, 2000) << 1 << false;
    QTest::addRow("second size 1500 stops") << withU32(two, 1420, 1500) << 1 << false;
    QTest::addRow("type 1 of wrong size stops") << withU32(two, 1420, 1416) << 1 << false;
    QTest::addRow("size too small for a header stops") << withU32(two, 1420, 3) << 1 << false;
    QTest::addRow("first record broken") << withU32(two, 0, 0xFFFFFFFF) << 0 << false;
    QTest::addRow("trailing bytes") << two + QByteArray(3, '\x01') << 2 << false;
    QTest::addRow("a trailing record header") << two + recordBytes(8, 5) << 2 << true;
    QTest::addRow("a trailing size alone") << two + withU32(QByteArray(4, '\0'), 0, 8) << 2 << false;
}

void DataFilesTest::routersDamaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kept);
    QFETCH(bool, whole);
    QCOMPARE(routersOf(bytes), fixtureRouters().first(kept));
    QCOMPARE(readsWhole(bytes, readRouters), whole);
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
    QTest::addColumn<bool>("whole");
    const QByteArray two = fixture(u"HotSpotProfiles.bin"_s);
    QTest::addRow("type 3 with size 1000 stops") << withU32(two, 1228, 1000) << 1 << false;
    QTest::addRow("type 2 size on a type 3 stops") << withU32(two, 1228 + 4, 2) << 1 << false;
    QTest::addRow("unknown type skipped") << withU32(two, 4, 9) << 1 << true;
    QTest::addRow("cut") << two.left(1228 + 600) << 1 << false;
    // A cut between records cannot be told from a shorter list.
    QTest::addRow("cut after the first record") << two.left(1228) << 1 << true;
    QTest::addRow("trailing byte") << two + QByteArray(1, '\0') << 2 << false;
    QTest::addRow("second size 2000") << withU32(two, 1228, 2000) << 1 << false;
}

void DataFilesTest::hotSpotProfilesDamaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kept);
    QFETCH(bool, whole);
    const QList<HotSpotProfile> read = profilesOf(bytes);
    QCOMPARE(read.size(), kept);
    QVERIFY(fixtureProfiles().contains(read.value(0)));
    QCOMPARE(readsWhole(bytes, readHotSpotProfiles), whole);
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
    QTest::addColumn<bool>("whole");
    const QByteArray ok = QByteArray::fromHex("0400610062000000020063"
                                              "00");
    const QStringList okNames = {u"ab"_s, QString(), u"c"_s};
    QTest::addRow("empty file") << QByteArray() << QStringList{} << true;
    QTest::addRow("well formed") << ok << okNames << true;
    // No writer makes an odd count: the dropped byte would be lost on saving.
    QTest::addRow("odd length drops the last byte")
        << QByteArray::fromHex("030061006202006300") << QStringList{u"a"_s, u"c"_s} << false;
    QTest::addRow("length 2000 stops")
        << ok + QByteArray::fromHex("d007") + QByteArray(2000, 'x') << okNames << false;
    QTest::addRow("length 1998 is a name") << ok + QByteArray::fromHex("ce07") + QByteArray(1998, '\0')
                                           << okNames + QStringList{QString(999, QChar(0))} << true;
    QTest::addRow("cut name stops") << ok + QByteArray::fromHex("0a006100") << okNames << false;
    QTest::addRow("one stray byte") << ok + QByteArray(1, '\x01') << okNames << false;
}

void DataFilesTest::userDatabaseDamaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QFETCH(bool, whole);
    QCOMPARE(namesOf(bytes), expected);
    QCOMPARE(readsWhole(bytes, readUserDatabase), whole);
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

// A list file is absent (no file, or an empty one: nothing to lose), read
// whole (records of kinds it does not know are skipped on purpose), or damaged:
// what comes before the damage is read, and the file is left as it is.
void DataFilesTest::loadTellsState_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("state"); // ListFileState
    QTest::addColumn<int>("count"); // the fixture's first entries that are read

    const int absent = int(ListFileState::Absent);
    const int whole = int(ListFileState::Whole);
    const int damaged = int(ListFileState::Damaged);

    const QString routers = u"Routers.bin"_s;
    const QByteArray two = fixture(routers);
    const QByteArray other = recordBytes(628, 2, 'U');
    QTest::addRow("routers: no file") << routers << false << QByteArray() << absent << 0;
    QTest::addRow("routers: empty file") << routers << true << QByteArray() << absent << 0;
    QTest::addRow("routers: two routers") << routers << true << two << whole << 2;
    QTest::addRow("routers: only records of another kind") << routers << true << other + other << whole << 0;
    QTest::addRow("routers: a router after another kind")
        << routers << true << other + two.left(1420) << whole << 1;
    QTest::addRow("routers: a router, then damage") << routers << true << two.left(2000) << damaged << 1;
    QTest::addRow("routers: second size broken")
        << routers << true << withU32(two, 1420, 0x01000000) << damaged << 1;
    QTest::addRow("routers: trailing bytes") << routers << true << two + "\x01\x02"_ba << damaged << 2;
    QTest::addRow("routers: three stray bytes")
        << routers << true << QByteArray("\x01\x02\x03", 3) << damaged << 0;
    QTest::addRow("routers: first size broken")
        << routers << true << withU32(two, 0, 0xFFFFFFFF) << damaged << 0;
    QTest::addRow("routers: first size too small") << routers << true << withU32(two, 0, 3) << damaged << 0;
    QTest::addRow("routers: router record of the wrong size")
        << routers << true << withU32(two, 0, 1416) << damaged << 0;
    QTest::addRow("routers: first record cut") << routers << true << two.left(1000) << damaged << 0;
    QTest::addRow("routers: another kind, then damage")
        << routers << true << other + QByteArray(5, '\xff') << damaged << 0;
    QTest::addRow("routers: text") << routers << true << QByteArray("Café Central;192.168.88.1;8728\n")
                                   << damaged << 0;

    const QString profiles = u"HotSpotProfiles.bin"_s;
    const QByteArray twoProfiles = fixture(profiles);
    QTest::addRow("profiles: no file") << profiles << false << QByteArray() << absent << 0;
    QTest::addRow("profiles: two profiles") << profiles << true << twoProfiles << whole << 2;
    QTest::addRow("profiles: a record of a later kind after them")
        << profiles << true << twoProfiles + recordBytes(1500, 4, 'P') << whole << 2;
    QTest::addRow("profiles: second cut in half")
        << profiles << true << twoProfiles.left(1228 + 614) << damaged << 1;
    QTest::addRow("profiles: first cut in half") << profiles << true << twoProfiles.left(614) << damaged << 0;
    QTest::addRow("profiles: second size broken")
        << profiles << true << withU32(twoProfiles, 1228, 0xFFFF) << damaged << 1;
    QTest::addRow("profiles: type 3 of a type 2's size")
        << profiles << true << withU32(twoProfiles.left(628), 0, 628) << damaged << 0;

    const QString names = u"UserDatabase.bin"_s;
    const QByteArray fourNames = fixture(names);
    QTest::addRow("names: no file") << names << false << QByteArray() << absent << 0;
    QTest::addRow("names: four names") << names << true << fourNames << whole << 4;
    QTest::addRow("names: last name cut") << names << true << fourNames.chopped(2) << damaged << 3;
    QTest::addRow("names: a stray byte after them") << names << true << fourNames + "\x05"_ba << damaged << 4;
}

void DataFilesTest::loadTellsState()
{
    QFETCH(QString, file);
    QFETCH(bool, present);
    QFETCH(QByteArray, bytes);
    QFETCH(int, state);
    QFETCH(int, count);

    TestFolder folder;
    if (present)
        folder.writeDataFile(file, bytes);
    if (file == u"Routers.bin") {
        QList<RouterConfig> loaded;
        QCOMPARE(int(loadRouters(folder.dataFolder(), loaded)), state);
        QCOMPARE(loaded, fixtureRouters().first(count));
    } else if (file == u"HotSpotProfiles.bin") {
        QList<HotSpotProfile> loaded;
        QCOMPARE(int(loadHotSpotProfiles(folder.dataFolder(), loaded)), state);
        QCOMPARE(loaded, fixtureProfiles().first(count));
    } else {
        QStringList loaded;
        QCOMPARE(int(loadUserDatabase(folder.dataFolder(), loaded)), state);
        QCOMPARE(loaded, namesOf(fixture(file)).first(count));
    }
    if (present)
        QCOMPARE(folder.readDataFile(file), bytes);
    else
        QVERIFY(!QDir(folder.dataFolder()).exists());
}

void DataFilesTest::loadLeavesFolderAsListFile()
{
    // A list file that cannot be opened is not taken for a missing one.
    TestFolder folder;
    QVERIFY(QDir().mkpath(folder.dataFolder() + u"/Routers.bin"_s));
    QVERIFY(QDir().mkpath(folder.dataFolder() + u"/HotSpotProfiles.bin"_s));
    QVERIFY(QDir().mkpath(folder.dataFolder() + u"/UserDatabase.bin"_s));
    QList<RouterConfig> routers;
    QCOMPARE(loadRouters(folder.dataFolder(), routers), ListFileState::Damaged);
    QVERIFY(routers.isEmpty());
    QList<HotSpotProfile> profiles;
    QCOMPARE(loadHotSpotProfiles(folder.dataFolder(), profiles), ListFileState::Damaged);
    QStringList names;
    QCOMPARE(loadUserDatabase(folder.dataFolder(), names), ListFileState::Damaged);
    QCOMPARE(loadRouters(QString(), routers), ListFileState::Absent);
}

void DataFilesTest::ownerOnlyFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("oldMode"); // -1: no file before
    QTest::addRow("Routers.bin, new") << u"Routers.bin"_s << -1;
    QTest::addRow("Routers.bin over 0644") << u"Routers.bin"_s << 0644;
    QTest::addRow("HotSpotProfiles.bin, new") << u"HotSpotProfiles.bin"_s << -1;
    QTest::addRow("HotSpotProfiles.bin over 0644") << u"HotSpotProfiles.bin"_s << 0644;
    QTest::addRow("HotSpotProfiles.bin over 0666") << u"HotSpotProfiles.bin"_s << 0666;
}

// Files with passwords and prices are readable by their owner only, also
// when the file replaced was readable by others.
void DataFilesTest::ownerOnlyFiles()
{
    QFETCH(QString, file);
    QFETCH(int, oldMode);
    TestFolder folder;
    const QString path = folder.dataFolder() + u'/' + file;
    if (oldMode >= 0) {
        folder.copyFixture(file, file);
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(oldMode)) == 0);
    }
    ScriptedInteraction interaction;
    if (file == u"Routers.bin")
        QVERIFY(saveRouters(folder.dataFolder(), fixtureRouters().first(1), interaction));
    else
        QVERIFY(saveHotSpotProfiles(folder.dataFolder(), fixtureProfiles().first(1), interaction));
    QCOMPARE(permissionBits(path), 0600);
    QCOMPARE(folder.readDataFile(file), fixture(file).left(file == u"Routers.bin" ? 1420 : 1228));
}

void DataFilesTest::symbolicLinkNeverWritten_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("targetExists");
    for (const QString &file :
         {u"Routers.bin"_s, u"HotSpotProfiles.bin"_s, u"UserDatabase.bin"_s, u"settings.reg"_s}) {
        QTest::addRow("%s, link to a file elsewhere", qPrintable(file)) << file << true;
        QTest::addRow("%s, link to nothing", qPrintable(file)) << file << false;
    }
}

// A data or settings file that is a symbolic link is refused with a message
// naming it: the file it points to (maybe in another folder) keeps its bytes
// and mode, and the link stays.
void DataFilesTest::symbolicLinkNeverWritten()
{
    QFETCH(QString, file);
    QFETCH(bool, targetExists);

    TestFolder folder;
    QVERIFY(QDir().mkpath(folder.dataFolder()));
    QVERIFY(QDir().mkpath(folder.path() + u"/elsewhere"_s));
    const bool settings = file == u"settings.reg";
    const QString link = settings ? folder.settingsFile() : folder.dataFolder() + u'/' + file;
    const QString target = folder.path() + u"/elsewhere/"_s + file;
    const QByteArray bytes = fixture(settings ? u"settings-legacy.reg"_s : file);
    if (targetExists) {
        QVERIFY(writeFile(target, bytes));
        QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadGroup | QFileDevice::ReadOther));
    }
    QVERIFY(QFile::link(target, link));

    ScriptedInteraction interaction;
    QString failure;
    if (file == u"Routers.bin") {
        QVERIFY(!saveRouters(folder.dataFolder(), fixtureRouters().first(1), interaction));
        failure = RoutersNotSaved;
    } else if (file == u"HotSpotProfiles.bin") {
        QVERIFY(!saveHotSpotProfiles(folder.dataFolder(), fixtureProfiles().first(1), interaction));
        failure = ProfilesNotSaved;
    } else if (file == u"UserDatabase.bin") {
        QVERIFY(!saveUserDatabase(folder.dataFolder(), {u"novo"_s}, interaction));
        failure = RoutersNotSaved;
    } else {
        AppSettings values;
        QVERIFY(!saveSettings(SettingsKey(link), values, {AppUser{}}, interaction));
        failure = SettingsNotSaved;
    }
    QCOMPARE(interaction.texts(), QStringList{failure + u'\n' + LinkRefusal.arg(link)});

    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    if (targetExists) {
        QCOMPARE(readFile(target), bytes);
        QCOMPARE(permissionBits(target), 0644);
    }
    QCOMPARE(QDir(folder.path() + u"/elsewhere"_s).entryList(QDir::Files | QDir::Hidden),
             targetExists ? QStringList{file} : QStringList());
    QCOMPARE(QDir(folder.dataFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             settings ? QStringList() : QStringList{file});
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
