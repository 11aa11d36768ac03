#include "testmain.h"

#include "base/pricetext.h"

#include <QTest>
#include <optional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<qint32>)

class PriceTextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shown_data();
    void shown();
    void read_data();
    void read();
};

void PriceTextTest::shown_data()
{
    QTest::addColumn<qint32>("hundredths");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("expected");

    QTest::addRow("decimal comma") << 500 << u","_s << u"5,00"_s;
    QTest::addRow("decimal point") << 1250 << u"."_s << u"12.50"_s;
    QTest::addRow("cents get a leading zero") << 5 << u","_s << u"0,05"_s;
    QTest::addRow("zero") << 0 << u","_s << u"0,00"_s;
    QTest::addRow("negative") << -150 << u","_s << u"-1,50"_s;
    QTest::addRow("negative cents") << -7 << u","_s << u"-0,07"_s;
    QTest::addRow("no thousands separators") << 123456789 << u","_s << u"1234567,89"_s;
    QTest::addRow("largest") << 2147483647 << u","_s << u"21474836,47"_s;
    QTest::addRow("lowest has no positive counterpart")
        << qint32(-2147483647 - 1) << u","_s << u"-21474836,48"_s;
    QTest::addRow("separator of several characters") << 500 << u"٫"_s << u"5٫00"_s;
}

void PriceTextTest::shown()
{
    QFETCH(qint32, hundredths);
    QFETCH(QString, decimal);
    QFETCH(QString, expected);
    // The thousands separator of the locale is never shown.
    QCOMPARE(priceText(hundredths, {decimal, u"."_s}), expected);
}

void PriceTextTest::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<qint32>>("expected");

    const std::optional<qint32> refused;
    // clang-format off
    QTest::addRow("units only") << u"5"_s << std::optional<qint32>(500);
    QTest::addRow("decimal comma") << u"12,50"_s << std::optional<qint32>(1250);
    QTest::addRow("decimal point") << u"12.50"_s << std::optional<qint32>(1250);
    QTest::addRow("one decimal") << u"12,5"_s << std::optional<qint32>(1250);
    QTest::addRow("separator without decimals") << u"5,"_s << std::optional<qint32>(500);
    QTest::addRow("decimals without units") << u",5"_s << std::optional<qint32>(50);
    QTest::addRow("point thousands, comma decimals") << u"1.250,50"_s << std::optional<qint32>(125050);
    QTest::addRow("comma thousands, point decimals") << u"1,250.50"_s << std::optional<qint32>(125050);
    QTest::addRow("repeated separator is thousands") << u"1.250.000"_s << std::optional<qint32>(125000000);
    QTest::addRow("repeated comma is thousands") << u"2,500,000"_s << std::optional<qint32>(250000000);
    QTest::addRow("several thousands and decimals") << u"1.234.567,8"_s << std::optional<qint32>(123456780);
    QTest::addRow("blanks around") << u"  7,25\t"_s << std::optional<qint32>(725);
    QTest::addRow("plus sign") << u"+3"_s << std::optional<qint32>(300);
    QTest::addRow("leading zeros") << u"0000000000000012,00"_s << std::optional<qint32>(1200);
    QTest::addRow("empty") << QString() << std::optional<qint32>(0);
    QTest::addRow("blanks only") << u"   "_s << std::optional<qint32>(0);
    QTest::addRow("largest") << u"21474836,47"_s << std::optional<qint32>(2147483647);

    QTest::addRow("one hundredth too many") << u"21474836,48"_s << refused;
    // Read whole: nothing dropped, nothing guessed, nothing below zero.
    QTest::addRow("third decimal") << u"5,257"_s << refused;
    QTest::addRow("many decimals") << u"0.999999"_s << refused;
    QTest::addRow("comma and three digits: a thousand or 1,23?") << u"1,234"_s << refused;
    QTest::addRow("point and three digits") << u"1.234"_s << refused;
    QTest::addRow("negative") << u"-1,50"_s << refused;
    QTest::addRow("negative whole number") << u"-1"_s << refused;
    QTest::addRow("negative zero") << u"-0"_s << refused;
    QTest::addRow("word after the number") << u"12,50 reais"_s << refused;
    QTest::addRow("far beyond 64 bits") << u"99999999999999999999999"_s << refused;
    QTest::addRow("letters") << u"doze"_s << refused;
    QTest::addRow("letter after the decimals") << u"12,5x"_s << refused;
    QTest::addRow("currency symbol") << u"R$ 5"_s << refused;
    QTest::addRow("blank inside") << u"1 250,00"_s << refused;
    QTest::addRow("blank after the sign") << u"- 5"_s << refused;
    QTest::addRow("sign alone") << u"-"_s << refused;
    QTest::addRow("separator alone") << u","_s << refused;
    QTest::addRow("two signs") << u"--5"_s << refused;
    QTest::addRow("sign after digits") << u"5-"_s << refused;
    QTest::addRow("decimal separator twice among both") << u"1.250,50,3"_s << refused;
    QTest::addRow("thousands after the decimals") << u"1,50.000,5"_s << refused;
    QTest::addRow("thousands group of two") << u"1.25,50"_s << refused;
    QTest::addRow("first group of four") << u"1250.000,00"_s << refused;
    QTest::addRow("repeated separator, short group") << u"1.2.3"_s << refused;
    QTest::addRow("thousands separator first") << u".250.000"_s << refused;
    QTest::addRow("Arabic-Indic digits") << u"٥"_s << refused;
    // clang-format on
}

void PriceTextTest::read()
{
    QFETCH(QString, text);
    QFETCH(std::optional<qint32>, expected);
    QCOMPARE(readPriceText(text), expected);
}

WIFITICKETER_TEST(PriceTextTest)
#include "pricetexttest.moc"
