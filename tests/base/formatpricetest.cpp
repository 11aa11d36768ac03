#include "testmain.h"

#include "base/formatprice.h"

#include <QTest>

using namespace Qt::StringLiterals;

class FormatPriceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void patterns_data();
    void patterns();
};

void FormatPriceTest::patterns_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("localeDecimal");
    QTest::addColumn<QString>("localeThousands");
    QTest::addColumn<QString>("expected");

    QTest::addRow("c selector: comma decimals")
        << u"R$ %c"_s << qint64(123456) << u"."_s << u","_s << u"R$ 1.234,56"_s;
    QTest::addRow("d selector: point decimals")
        << u"$%d"_s << qint64(123456789) << u","_s << u"."_s << u"$1,234,567.89"_s;
    QTest::addRow("no decimals divides") << u"%d0 USD"_s << qint64(5000) << u","_s << u"."_s << u"50 USD"_s;
    QTest::addRow("one decimal") << u"%c1 kr"_s << qint64(1299) << u"."_s << u""_s << u"12,9 kr"_s;
    QTest::addRow("more decimals multiply") << u"%d4"_s << qint64(150) << u","_s << u"."_s << u"1.5000"_s;
    QTest::addRow("nine decimals do not overflow")
        << u"%d9"_s << qint64(2000000000) << u","_s << u"."_s << u"20,000,000.000000000"_s;
    QTest::addRow("no percent sign appends the pattern")
        << u"€"_s << qint64(5) << u","_s << u"."_s << u"0,05 €"_s;
    QTest::addRow("no percent sign, C locale")
        << u"EUR"_s << qint64(123456) << u"."_s << u""_s << u"1234.56 EUR"_s;
    QTest::addRow("other selector keeps it and the locale")
        << u"%x"_s << qint64(123456) << u","_s << u"."_s << u"1.234,56x"_s;
    QTest::addRow("percent sign at the end")
        << u"Preço %"_s << qint64(99) << u","_s << u" "_s << u"Preço 0,99"_s;
    QTest::addRow("only the first percent sign counts")
        << u"%c %d"_s << qint64(100) << u"."_s << u","_s << u"1,00 %d"_s;
    QTest::addRow("zero") << u"%c"_s << qint64(0) << u"."_s << u","_s << u"0,00"_s;
    QTest::addRow("separator never leads")
        << u"%c"_s << qint64(12345678) << u"."_s << u","_s << u"123.456,78"_s;
    QTest::addRow("negative") << u"%c"_s << qint64(-123456) << u"."_s << u","_s << u"-1.234,56"_s;
    QTest::addRow("a total beyond 32 bits, nine decimals")
        << u"%d9"_s << qint64(9'000'000'000'000'000'000) << u","_s << u"."_s
        << u"90,000,000,000,000,000.000000000"_s;
    QTest::addRow("negative cut to zero has no sign") << u"%c0"_s << qint64(-5) << u"."_s << u","_s << u"0"_s;
    QTest::addRow("digit after other selector stays")
        << u"%e2"_s << qint64(100) << u","_s << u"."_s << u"1,00e2"_s;
}

void FormatPriceTest::patterns()
{
    QFETCH(QString, pattern);
    QFETCH(qint64, value);
    QFETCH(QString, localeDecimal);
    QFETCH(QString, localeThousands);
    QFETCH(QString, expected);
    QCOMPARE(formatPrice(value, pattern, {localeDecimal, localeThousands}), expected);
}

WIFITICKETER_TEST(FormatPriceTest)
#include "formatpricetest.moc"
