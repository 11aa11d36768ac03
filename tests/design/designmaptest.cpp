#include "designlists.h"
#include "designtestdata.h"
#include "filesizelimit.h"
#include "readfrombytes.h"
#include "recordbytes.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/binaryfields.h"
#include "config/routerconfig.h"
#include "design/designmapfile.h"
#include "design/designmapkey.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

std::shared_ptr<VoucherProfile> profile(const QString &title, bool hotSpot)
{
    auto p = std::make_shared<VoucherProfile>();
    p->Name = title;
    p->Title = title;
    if (hotSpot) {
        p->HotSpot.emplace();
        p->HotSpot->Name = title;
    }
    return p;
}

// User Manager "1 dia", hotspot "1 dia", "Semana" and "1 hora".
ProfileList profiles()
{
    return {profile(u"1 dia"_s, false), profile(u"1 dia"_s, true), profile(u"Semana"_s, true),
            profile(u"1 hora"_s, true)};
}

DesignList designs()
{
    return listOf({makeDefaultDesign(), cafeDesign(), emptyDesign()});
}

// The names of the profiles' designs, "-" for none.
QStringList designNames(const ProfileList &list)
{
    QStringList names;
    for (const auto &p : list)
        names.append(p->Design ? p->Design->Name : u"-"_s);
    return names;
}

QList<DesignMapEntry> entriesOf(const QByteArray &bytes)
{
    return readFromBytes(bytes, readDesignMap);
}

RouterConfig router(const QString &name)
{
    RouterConfig r;
    r.Name = name;
    return r;
}

const QList<DesignMapEntry> RouterEntries = {
    {false, u"1 dia"_s, u"Vazio"_s},
    {true, u"1 dia"_s, u"café"_s},
    {true, u"Semana"_s, QString()},
};

} // namespace

class DesignMapTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void key_data();
    void key();
    void fileName();
    void fixtures();
    void damaged_data();
    void damaged();
    void fullFieldsLoseTheirLastUnit();
    void serializeRoundTrip();
    void assignment();
    void assignmentRules_data();
    void assignmentRules();
    void noDesigns();
    void longTitlesFindTheirProfile();
    void loadPrefersTheRoutersFile();
    void loadFallsBackToCommonFile();
    void loadWithoutFiles();
    void commonFileThenOwnFile();
    void routersKeepSeparateMaps();
    void saveWithoutRouterWritesNothing();
    void saveFailureIsSilentAndKeepsOldFile();
};

void DesignMapTest::key_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    QTest::addRow("R1") << u"R1"_s << u"981841D3"_s;
    QTest::addRow("Router") << u"Router"_s << u"C31046E1"_s;
    QTest::addRow("empty") << QString() << u"00006510"_s;
    // Computed with Python's zlib.crc32 from the complemented start register.
    QTest::addRow("Latin letters") << u"Café Central"_s << u"000F37BE"_s;
    QTest::addRow("beyond Latin-1") << u"Roteador € 2"_s << u"6D7ACF97"_s;
    QTest::addRow("long") << QString(120, u'a') << u"77EF6C58"_s;
}

void DesignMapTest::key()
{
    QFETCH(QString, name);
    QFETCH(QString, key);
    QCOMPARE(designMapKey(name), key);
}

void DesignMapTest::fileName()
{
    QCOMPARE(designMapFile(u"/data"_s, u"R1"_s), u"/data/VoucherMap_981841D3.bin"_s);
}

void DesignMapTest::fixtures()
{
    // A record of another type is skipped.
    QCOMPARE(entriesOf(fixture(u"VoucherMap-router.bin"_s)), RouterEntries);
    const QList<DesignMapEntry> common = {{false, u"Diária"_s, u"Café"_s}, {true, u"1 hora"_s, u"Vazio"_s}};
    QCOMPARE(entriesOf(fixture(u"VoucherMap-common.bin"_s)), common);
}

void DesignMapTest::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kept");
    const QByteArray map = fixture(u"VoucherMap-router.bin"_s);
    const QByteArray old = fixture(u"VoucherMap-common.bin"_s);
    QTest::addRow("empty") << QByteArray() << 0;
    QTest::addRow("type 15 of size 400 stops") << withU32(map, 408, 400) << 1;
    QTest::addRow("type 16 of the old size stops") << withU32(map, 408, 208) << 1;
    QTest::addRow("type 5 of the new size stops") << withU32(old, 0, 408) << 0;
    QTest::addRow("size 2000 stops") << withU32(map, 408, 2000) << 1;
    QTest::addRow("size too small stops") << withU32(map, 408, 4) << 1;
    QTest::addRow("cut in a record") << map.left(408 + 300) << 1;
    QTest::addRow("cut in a header") << map.left(408 + 6) << 1;
    QTest::addRow("unknown type of any size skipped")
        << map.left(408) + withU32(withU32(QByteArray(1500, 'x'), 0, 1500), 4, 99) + map.mid(408) << 3;
}

void DesignMapTest::damaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kept);
    QCOMPARE(entriesOf(bytes), RouterEntries.first(kept));
}

void DesignMapTest::fullFieldsLoseTheirLastUnit()
{
    // Fields without a terminator: the last unit (or byte) is not text.
    QByteArray map = fixture(u"VoucherMap-router.bin"_s).left(408);
    for (qsizetype i = 0; i < 100; ++i)
        map[8 + 2 * i] = 'a';
    QByteArray old = fixture(u"VoucherMap-common.bin"_s).left(208);
    old.replace(108, 100, QByteArray(100, 'c'));
    const QList<DesignMapEntry> expected = {{false, QString(99, u'a'), u"Vazio"_s},
                                            {false, u"Diária"_s, QString(99, u'c')}};
    QCOMPARE(entriesOf(map + old), expected);
}

void DesignMapTest::serializeRoundTrip()
{
    const DesignList list = designs();
    ProfileList p = profiles();
    p[0]->Design = list[2].get();
    p[1]->Design = list[1].get();
    const QByteArray bytes = serializeDesignMap(p);
    QCOMPARE(bytes.size(), 4 * 408);
    QCOMPARE(getU32(bytes, 0), 408u);
    QCOMPARE(getU32(bytes, 4), 15u);
    QCOMPARE(getU32(bytes, 408 + 4), 16u);
    const QList<DesignMapEntry> expected = {{false, u"1 dia"_s, u"Vazio"_s},
                                            {true, u"1 dia"_s, u"Café"_s},
                                            {true, u"Semana"_s, QString()},
                                            {true, u"1 hora"_s, QString()}};
    QCOMPARE(entriesOf(bytes), expected);
    QCOMPARE(serializeDesignMap({}), QByteArray());
}

void DesignMapTest::assignment()
{
    const DesignList list = designs();
    ProfileList p = profiles();
    applyDesignMap(RouterEntries, p, list);
    // "café" finds "Café"; the profile without a design and the one without an
    // entry get the first design.
    QCOMPARE(designNames(p), (QStringList{u"Vazio"_s, u"Café"_s, u"Padrão"_s, u"Padrão"_s}));
    QCOMPARE(p[1]->Design, list[1].get());
}

void DesignMapTest::assignmentRules_data()
{
    QTest::addColumn<QList<DesignMapEntry>>("entries");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("design that no longer exists")
        << QList<DesignMapEntry>{{true, u"Semana"_s, u"Apagado"_s}}
        << QStringList{u"Padrão"_s, u"Padrão"_s, u"Padrão"_s, u"Padrão"_s};
    QTest::addRow("title in other case") << QList<DesignMapEntry>{{true, u"SEMANA"_s, u"vazio"_s}}
                                         << QStringList{u"Padrão"_s, u"Padrão"_s, u"Vazio"_s, u"Padrão"_s};
    QTest::addRow("kind must match") << QList<DesignMapEntry>{{false, u"Semana"_s, u"Vazio"_s}}
                                     << QStringList{u"Padrão"_s, u"Padrão"_s, u"Padrão"_s, u"Padrão"_s};
    QTest::addRow("same kind and title, each its own")
        << QList<DesignMapEntry>{{true, u"1 dia"_s, u"Café"_s}, {false, u"1 dia"_s, u"Vazio"_s}}
        << QStringList{u"Vazio"_s, u"Café"_s, u"Padrão"_s, u"Padrão"_s};
    QTest::addRow("a later entry of a profile wins")
        << QList<DesignMapEntry>{{true, u"1 hora"_s, u"Café"_s}, {true, u"1 hora"_s, u"Vazio"_s}}
        << QStringList{u"Padrão"_s, u"Padrão"_s, u"Padrão"_s, u"Vazio"_s};
    QTest::addRow("unknown profile") << QList<DesignMapEntry>{{true, u"Mês"_s, u"Café"_s}}
                                     << QStringList{u"Padrão"_s, u"Padrão"_s, u"Padrão"_s, u"Padrão"_s};
}

void DesignMapTest::assignmentRules()
{
    QFETCH(QList<DesignMapEntry>, entries);
    QFETCH(QStringList, expected);
    ProfileList p = profiles();
    applyDesignMap(entries, p, designs());
    QCOMPARE(designNames(p), expected);
}

void DesignMapTest::noDesigns()
{
    ProfileList p = profiles();
    applyDesignMap(RouterEntries, p, {});
    QCOMPARE(designNames(p), QStringList(4, u"-"_s));
}

void DesignMapTest::longTitlesFindTheirProfile()
{
    // Titles and design names longer than a field are cut in the file; they
    // still find their profile and design when read back.
    DesignList list = designs();
    list[2]->Name = QString(110, u'd');
    ProfileList p = {profile(QString(98, u't') + u"😀x"_s, true), profile(QString(120, u't'), false)};
    p[0]->Design = list[2].get();
    p[1]->Design = list[1].get();
    const QList<DesignMapEntry> entries = entriesOf(serializeDesignMap(p));

    ProfileList fresh = {profile(QString(98, u't') + u"😀x"_s, true), profile(QString(120, u't'), false)};
    applyDesignMap(entries, fresh, list);
    QCOMPARE(fresh[0]->Design, list[2].get());
    QCOMPARE(fresh[1]->Design, list[1].get());
}

void DesignMapTest::loadPrefersTheRoutersFile()
{
    TestFolder folder;
    const RouterConfig r1 = router(u"R1"_s);
    folder.copyFixture(u"VoucherMap-router.bin"_s, u"VoucherMap_981841D3.bin"_s);
    folder.copyFixture(u"VoucherMap-common.bin"_s, u"VoucherMap.bin"_s);
    ProfileList p = profiles();
    loadDesignMap(folder.dataFolder(), &r1, p, designs());
    QCOMPARE(designNames(p), (QStringList{u"Vazio"_s, u"Café"_s, u"Padrão"_s, u"Padrão"_s}));
}

void DesignMapTest::loadFallsBackToCommonFile()
{
    TestFolder folder;
    folder.copyFixture(u"VoucherMap-router.bin"_s, u"VoucherMap_981841D3.bin"_s);
    folder.copyFixture(u"VoucherMap-common.bin"_s, u"VoucherMap.bin"_s);
    const QStringList fromCommon = {u"Padrão"_s, u"Padrão"_s, u"Padrão"_s, u"Vazio"_s};

    // A router without a file of its own.
    const RouterConfig other = router(u"Router"_s);
    ProfileList p = profiles();
    loadDesignMap(folder.dataFolder(), &other, p, designs());
    QCOMPARE(designNames(p), fromCommon);

    // No router is current.
    ProfileList q = profiles();
    loadDesignMap(folder.dataFolder(), nullptr, q, designs());
    QCOMPARE(designNames(q), fromCommon);
}

void DesignMapTest::loadWithoutFiles()
{
    TestFolder folder;
    const RouterConfig r1 = router(u"R1"_s);
    const QStringList firstDesign(4, u"Padrão"_s);
    ProfileList p = profiles();
    loadDesignMap(folder.dataFolder(), &r1, p, designs());
    QCOMPARE(designNames(p), firstDesign);
    ProfileList q = profiles();
    loadDesignMap(QString(), &r1, q, designs());
    QCOMPARE(designNames(q), firstDesign);
    QVERIFY(!QDir(folder.dataFolder()).exists());
}

void DesignMapTest::commonFileThenOwnFile()
{
    TestFolder folder;
    folder.copyFixture(u"VoucherMap-common.bin"_s, u"VoucherMap.bin"_s);
    const RouterConfig r1 = router(u"R1"_s);
    const DesignList list = designs();
    ProfileList p = {profile(u"Diária"_s, false), profile(u"1 hora"_s, true)};
    loadDesignMap(folder.dataFolder(), &r1, p, list);
    QCOMPARE(designNames(p), (QStringList{u"Café"_s, u"Vazio"_s}));

    // The save writes the router's own file, in today's records; the common
    // file stays as it was.
    QVERIFY(saveDesignMap(folder.dataFolder(), &r1, p));
    const QByteArray own = folder.readDataFile(u"VoucherMap_981841D3.bin"_s);
    QCOMPARE(own.size(), 2 * 408);
    QCOMPARE(getU32(own, 4), 15u);
    QCOMPARE(getU32(own, 408 + 4), 16u);
    QCOMPARE(folder.readDataFile(u"VoucherMap.bin"_s), fixture(u"VoucherMap-common.bin"_s));

    ProfileList again = {profile(u"Diária"_s, false), profile(u"1 hora"_s, true)};
    loadDesignMap(folder.dataFolder(), &r1, again, list);
    QCOMPARE(designNames(again), (QStringList{u"Café"_s, u"Vazio"_s}));
}

void DesignMapTest::routersKeepSeparateMaps()
{
    TestFolder folder;
    const DesignList list = designs();
    const RouterConfig a = router(u"Loja"_s);
    const RouterConfig b = router(u"Hotel"_s);
    ProfileList p = profiles();
    for (const auto &profile : p)
        profile->Design = list[1].get();
    QVERIFY(saveDesignMap(folder.dataFolder(), &a, p));
    for (const auto &profile : p)
        profile->Design = list[2].get();
    QVERIFY(saveDesignMap(folder.dataFolder(), &b, p));

    ProfileList forA = profiles();
    loadDesignMap(folder.dataFolder(), &a, forA, list);
    QCOMPARE(designNames(forA), QStringList(4, u"Café"_s));
    ProfileList forB = profiles();
    loadDesignMap(folder.dataFolder(), &b, forB, list);
    QCOMPARE(designNames(forB), QStringList(4, u"Vazio"_s));
    // A renamed router has a new key, and so no map.
    ProfileList renamed = profiles();
    const RouterConfig c = router(u"Loja 2"_s);
    loadDesignMap(folder.dataFolder(), &c, renamed, list);
    QCOMPARE(designNames(renamed), QStringList(4, u"Padrão"_s));
}

void DesignMapTest::saveWithoutRouterWritesNothing()
{
    TestFolder folder;
    QVERIFY(!saveDesignMap(folder.dataFolder(), nullptr, profiles()));
    const RouterConfig r1 = router(u"R1"_s);
    QVERIFY(!saveDesignMap(QString(), &r1, profiles()));
    QVERIFY(!QDir(folder.dataFolder()).exists());
}

void DesignMapTest::saveFailureIsSilentAndKeepsOldFile()
{
    TestFolder folder;
    const RouterConfig r1 = router(u"R1"_s);
    folder.copyFixture(u"VoucherMap-router.bin"_s, u"VoucherMap_981841D3.bin"_s);

    // A disk that fills up half way: no file may grow beyond 500 bytes, and
    // the map of four profiles takes 1632.
    bool saved = true;
    {
        const FileSizeLimit limit(500);
        QVERIFY(limit.isSet());
        saved = saveDesignMap(folder.dataFolder(), &r1, profiles());
    }

    QVERIFY(!saved);
    QCOMPARE(folder.readDataFile(u"VoucherMap_981841D3.bin"_s), fixture(u"VoucherMap-router.bin"_s));
    QCOMPARE(QDir(folder.dataFolder()).entryList(QDir::Files | QDir::Hidden),
             QStringList{u"VoucherMap_981841D3.bin"_s});
}

WIFITICKETER_TEST(DesignMapTest)
#include "designmaptest.moc"
