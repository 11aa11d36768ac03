#include "profilenames.h"
#include "recordbuilders.h"
#include "testmain.h"

#include "generation/voucherprofile.h"

#include <QStringList>
#include <QTest>

using namespace Qt::StringLiterals;

class VoucherProfileTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromRouterProfile_data();
    void fromRouterProfile();
    void fromHotSpotProfile_data();
    void fromHotSpotProfile();
    void insertKeepsValidityOrder();
    void removeTakesOnlyThatEntry();
};

namespace {

const PriceFormat Euro{u"€"_s, {u","_s, u"."_s}};

} // namespace

void VoucherProfileTest::fromRouterProfile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("price");
    QTest::addColumn<QString>("validity");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("localeDecimal");
    QTest::addColumn<QString>("localeThousands");
    QTest::addColumn<QString>("priceText");
    QTest::addColumn<QString>("display");

    QTest::addRow("pattern without percent sign")
        << u"1 Dia"_s << 1250 << u"1d"_s << u"€"_s << u","_s << u"."_s << u"12,50 €"_s << u"1 dia "_s;
    QTest::addRow("comma selector overrides the locale")
        << u"Semana"_s << 123456 << u"1w"_s << u"R$ %c"_s << u"."_s << u","_s << u"R$ 1.234,56"_s
        << u"7 dias "_s;
    QTest::addRow("no decimals") << u"Hora"_s << 5000 << u"1h"_s << u"%d0 USD"_s << u","_s << u"."_s
                                 << u"50 USD"_s << u"01:00:00"_s;
    QTest::addRow("free, no validity")
        << u"Grátis"_s << 0 << QString() << u"€"_s << u"."_s << QString() << u"0.00 €"_s << QString();
}

void VoucherProfileTest::fromRouterProfile()
{
    QFETCH(QString, name);
    QFETCH(int, price);
    QFETCH(QString, validity);
    QFETCH(QString, pattern);
    QFETCH(QString, localeDecimal);
    QFETCH(QString, localeThousands);
    QFETCH(QString, priceText);
    QFETCH(QString, display);

    const auto profile =
        makeVoucherProfile(name, price, validity, {pattern, {localeDecimal, localeThousands}});
    QVERIFY(profile);
    QCOMPARE(profile->Name, name);
    QCOMPARE(profile->Title, name);
    QCOMPARE(profile->Validity, validity);
    QCOMPARE(profile->ValidityDisplay, display);
    QCOMPARE(profile->Price, price);
    QCOMPARE(profile->PriceText, priceText);
    QVERIFY(!profile->HotSpot.has_value());
    QCOMPARE(profile->Design, nullptr);
}

void VoucherProfileTest::fromHotSpotProfile_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<int>("price");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("validity");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("priceText");

    QTest::addRow("hours: the validity keeps its leading blank")
        << qint64(7200) << 500 << u"%d0 USD"_s << u" 02:00:00"_s << u"02:00:00"_s << u"5 USD"_s;
    QTest::addRow("whole days have no clock")
        << qint64(30 * 86400) << 12345 << u"€"_s << u"30d"_s << u"30 dias "_s << u"123,45 €"_s;
    QTest::addRow("day and hour") << qint64(90000) << 1000 << u"R$ %c"_s << u"1d 01:00:00"_s
                                  << u"1 dia 01:00:00"_s << u"R$ 10,00"_s;
    QTest::addRow("no validity") << qint64(0) << 0 << u"€"_s << QString() << QString() << u"0,00 €"_s;
}

void VoucherProfileTest::fromHotSpotProfile()
{
    QFETCH(qint64, seconds);
    QFETCH(int, price);
    QFETCH(QString, pattern);
    QFETCH(QString, validity);
    QFETCH(QString, display);
    QFETCH(QString, priceText);

    HotSpotProfile hotSpot;
    hotSpot.Name = u"Promoção"_s;
    hotSpot.Validity = seconds;
    hotSpot.LimitUptime = 3600;
    hotSpot.RouterProfile = u"default"_s;
    hotSpot.Server = u"hotspot1"_s;
    hotSpot.LimitBytesTotal = u"1G"_s;
    hotSpot.Price = price;

    const auto profile = makeVoucherProfile(hotSpot, {pattern, Euro.separators});
    QVERIFY(profile);
    QCOMPARE(profile->Name, hotSpot.Name);
    QCOMPARE(profile->Title, hotSpot.Name);
    QCOMPARE(profile->Validity, validity);
    QCOMPARE(profile->ValidityDisplay, display);
    QCOMPARE(profile->Price, price);
    QCOMPARE(profile->PriceText, priceText);
    QVERIFY(profile->HotSpot.has_value());
    QVERIFY(*profile->HotSpot == hotSpot);
    QCOMPARE(profile->Design, nullptr);
}

void VoucherProfileTest::insertKeepsValidityOrder()
{
    // Arrival order; several entries share a validity written in different ways.
    ProfileList profiles;
    insertProfile(profiles, makeVoucherProfile(u"a-1d"_s, 100, u"1d"_s, Euro));
    insertProfile(profiles, makeVoucherProfile(u"b-30m"_s, 100, u"30m"_s, Euro));
    insertProfile(profiles, makeVoucherProfile(u"c-1w"_s, 100, u"1w"_s, Euro));
    insertProfile(profiles, makeVoucherProfile(u"d-24h"_s, 100, u"24h"_s, Euro));
    insertProfile(profiles, makeVoucherProfile(u"e-2h30m"_s, 100, u"2h30m"_s, Euro));
    insertProfile(profiles, makeVoucherProfile(u"f-no-unit"_s, 100, u"90"_s, Euro));
    insertProfile(profiles, makeVoucherProfile(defaultHotSpot(u"g-hs-30m"_s, 1800), Euro));
    insertProfile(profiles, makeVoucherProfile(defaultHotSpot(u"h-hs-1d"_s, 86400), Euro));
    insertProfile(profiles, makeVoucherProfile(u"i-empty"_s, 100, QString(), Euro));

    QCOMPARE(profileNames(profiles),
             (QStringList{u"f-no-unit"_s, u"i-empty"_s, u"b-30m"_s, u"g-hs-30m"_s, u"e-2h30m"_s, u"a-1d"_s,
                          u"d-24h"_s, u"h-hs-1d"_s, u"c-1w"_s}));
}

void VoucherProfileTest::removeTakesOnlyThatEntry()
{
    ProfileList profiles;
    const auto first = makeVoucherProfile(u"1dia"_s, 500, u"1d"_s, Euro);
    // Equal in every field to the first, but another entry.
    const auto twin = makeVoucherProfile(u"1dia"_s, 500, u"1d"_s, Euro);
    const auto week = makeVoucherProfile(u"semana"_s, 2000, u"1w"_s, Euro);
    insertProfile(profiles, first);
    insertProfile(profiles, twin);
    insertProfile(profiles, week);

    removeProfile(profiles, twin.get());
    QCOMPARE(profiles.size(), 2);
    QCOMPARE(profiles.at(0), first);
    QCOMPARE(profiles.at(1), week);

    // An entry that is not listed, or none at all, changes nothing.
    removeProfile(profiles, twin.get());
    removeProfile(profiles, nullptr);
    QCOMPARE(profiles.size(), 2);

    removeProfile(profiles, first.get());
    removeProfile(profiles, week.get());
    QVERIFY(profiles.isEmpty());
}

WIFITICKETER_TEST(VoucherProfileTest)
#include "voucherprofiletest.moc"
