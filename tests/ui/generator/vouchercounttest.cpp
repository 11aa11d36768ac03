#include "testmain.h"

#include "ui/generator/vouchercount.h"

#include <QTest>

using namespace Qt::StringLiterals;

class VoucherCountTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
};

void VoucherCountTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<quint32>("count");

    const int nothing = VoucherCount::Nothing, count = VoucherCount::Count, tooMany = VoucherCount::TooMany;
    QTest::addRow("empty") << QString() << nothing << 0u;
    QTest::addRow("zero") << u"0"_s << nothing << 0u;
    QTest::addRow("zeros") << u"0000"_s << nothing << 0u;
    QTest::addRow("one") << u"1"_s << count << 1u;
    QTest::addRow("leading zeros") << u"007"_s << count << 7u;
    QTest::addRow("the maximum") << u"10000"_s << count << 10000u;
    QTest::addRow("the maximum, long-winded") << u"000000000000000000000010000"_s << count << 10000u;
    QTest::addRow("one above") << u"10001"_s << tooMany << 0u;
    QTest::addRow("2^32 - 1") << u"4294967295"_s << tooMany << 0u;
    QTest::addRow("2^32, would be 0") << u"4294967296"_s << tooMany << 0u;
    QTest::addRow("2^32 + 5, would be 5") << u"4294967301"_s << tooMany << 0u;
    QTest::addRow("2^64, beyond 64 bits") << u"18446744073709551616"_s << tooMany << 0u;
    QTest::addRow("far beyond") << u"99999999999999999999999999999"_s << tooMany << 0u;
    QTest::addRow("letters") << u"12a"_s << nothing << 0u;
    QTest::addRow("sign") << u"+5"_s << nothing << 0u;
    QTest::addRow("minus") << u"-5"_s << nothing << 0u;
    QTest::addRow("blank") << u" 5"_s << nothing << 0u;
    QTest::addRow("other digits") << u"\u0665"_s << nothing << 0u; // Arabic-Indic five
}

void VoucherCountTest::parse()
{
    QFETCH(QString, text);
    QFETCH(int, status);
    QFETCH(quint32, count);
    const VoucherCount parsed = parseVoucherCount(text);
    QCOMPARE(int(parsed.status), status);
    QCOMPARE(parsed.count, count);
}

WIFITICKETER_TEST(VoucherCountTest)
#include "vouchercounttest.moc"
