#include "testmain.h"

#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"

#include <QStringList>
#include <QTest>

using namespace Qt::StringLiterals;

class VoucherRecordTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newRecordIsEmptyAndAppended();
    void removeAndClear();
    void recordKeepsItsProfile();
    void serialText_data();
    void serialText();
};

namespace {

const PriceFormat Euro{u"€"_s, {u","_s, u"."_s}};

QStringList userNames(const BatchList &batch)
{
    QStringList result;
    for (const VoucherRecord &record : batch)
        result.append(record.UserName);
    return result;
}

} // namespace

void VoucherRecordTest::newRecordIsEmptyAndAppended()
{
    const auto day = makeVoucherProfile(u"1dia"_s, 500, u"1d"_s, Euro);
    const auto week = makeVoucherProfile(u"semana"_s, 2000, u"1w"_s, Euro);
    BatchList batch;
    newVoucherRecord(batch, day).UserName = u"first"_s;

    VoucherRecord &record = newVoucherRecord(batch, week);
    QCOMPARE(batch.size(), size_t(2));
    QCOMPARE(&batch.back(), &record);
    QCOMPARE(batch.front().Profile, day);
    QCOMPARE(record.Profile, week);
    QVERIFY(record.UserName.isEmpty());
    QVERIFY(record.Password.isEmpty());
    QVERIFY(record.Generator.isEmpty());
    QCOMPARE(record.Created, 0);
    QCOMPARE(record.Expires, 0);
    QCOMPARE(record.Serial, 0u);
    QVERIFY(!record.HotSpotUser);
    QVERIFY(!record.RandomName);
    for (const QString *text : {&record.FirstName, &record.LastName, &record.Phone, &record.Location,
                                &record.Comment, &record.Email})
        QVERIFY(text->isEmpty());

    // The record being filled stays where it is while more records are added.
    for (int i = 0; i < 200; ++i)
        newVoucherRecord(batch, day);
    record.UserName = u"second"_s;
    QCOMPARE(batch.size(), size_t(202));
    QCOMPARE(batch.at(1).UserName, u"second"_s);
}

void VoucherRecordTest::removeAndClear()
{
    const auto day = makeVoucherProfile(u"1dia"_s, 500, u"1d"_s, Euro);
    BatchList batch;
    for (const QString &name : {u"a"_s, u"b"_s, u"c"_s})
        newVoucherRecord(batch, day).UserName = name;

    removeVoucherRecord(batch, batch.at(1));
    QCOMPARE(userNames(batch), (QStringList{u"a"_s, u"c"_s}));

    // A copy is another record: the batch keeps its own.
    const VoucherRecord copy = batch.front();
    removeVoucherRecord(batch, copy);
    QCOMPARE(userNames(batch), (QStringList{u"a"_s, u"c"_s}));

    removeVoucherRecord(batch, batch.back());
    QCOMPARE(userNames(batch), QStringList{u"a"_s});

    newVoucherRecord(batch, day).UserName = u"d"_s;
    QCOMPARE(userNames(batch), (QStringList{u"a"_s, u"d"_s}));
    clearBatch(batch);
    QVERIFY(batch.empty());
}

void VoucherRecordTest::recordKeepsItsProfile()
{
    ProfileList profiles;
    insertProfile(profiles, makeVoucherProfile(u"1dia"_s, 500, u"1d"_s, Euro));
    std::weak_ptr<const VoucherProfile> watched = profiles.front();

    BatchList batch;
    newVoucherRecord(batch, profiles.front());
    // The profile list is rebuilt while the vouchers of the last run are
    // still listed and printable.
    profiles.clear();
    QVERIFY(!watched.expired());
    QCOMPARE(batch.front().Profile->Name, u"1dia"_s);
    QCOMPARE(batch.front().Profile->PriceText, u"5,00 €"_s);

    clearBatch(batch);
    QVERIFY(watched.expired());
}

void VoucherRecordTest::serialText_data()
{
    QTest::addColumn<quint32>("serial");
    QTest::addColumn<QString>("text");

    QTest::addRow("zero") << 0u << u"000000000"_s;
    QTest::addRow("first") << 1u << u"000000001"_s;
    QTest::addRow("last") << 999999999u << u"999999999"_s;
    QTest::addRow("ten digits are not cut") << 1000000000u << u"1000000000"_s;
    QTest::addRow("largest") << 0xFFFFFFFFu << u"4294967295"_s;
}

void VoucherRecordTest::serialText()
{
    QFETCH(quint32, serial);
    QFETCH(QString, text);
    QCOMPARE(formatSerial(serial), text);
}

WIFITICKETER_TEST(VoucherRecordTest)
#include "voucherrecordtest.moc"
