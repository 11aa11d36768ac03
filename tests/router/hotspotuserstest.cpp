#include "routerharness.h"
#include "testmain.h"

#include "generation/credentials.h"
#include "router/hotspotusers.h"

#include <QTimeZone>

#include <QTest>

using namespace Qt::StringLiterals;

class HotSpotUsersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void minimalAdd();
};

void HotSpotUsersTest::minimalAdd()
{
    RouterHarness h;
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    // 2026-12-08 20:45 in UTC-3 is 23:45 UTC.
    h.clock.set(QDateTime(QDate(2026, 12, 8), QTime(23, 45), Qt::UTC).toSecsSinceEpoch());
    seedRandom(1);
    HotSpotProfile hotSpot;
    hotSpot.Name = u"1 dia"_s;
    hotSpot.Validity = 86400;
    hotSpot.RouterProfile = u"default"_s;
    QVERIFY(createHotSpotVoucher(h.state, h.interaction, h.prompt, hotSpotProfile(hotSpot), std::nullopt));
    h.closeSession();
    QCOMPARE(h.state.batch.size(), size_t(1));
    const VoucherRecord &record = h.state.batch.front();
    QCOMPARE(h.commands().first(), (QStringList{u"/ip/hotspot/user/add"_s, u"=name="_s + record.UserName,
                                                u"=password="_s + record.Password, u"=profile=default"_s,
                                                u"=comment=202612092045"_s}));
    QCOMPARE(record.Serial, 1u);
    QCOMPARE(record.Generator, u"caixa"_s);
}

WIFITICKETER_TEST(HotSpotUsersTest)
#include "hotspotuserstest.moc"
