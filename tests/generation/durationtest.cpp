#include "testmain.h"

#include "generation/duration.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<qint64>)

class DurationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void typed_data();
    void typed();
    void format_data();
    void format();
    void validityDisplay_data();
    void validityDisplay();
};

namespace {

// "1d" padded with blanks to the given length.
QString paddedOneDay(qsizetype length)
{
    return u"1d"_s + QString(length - 2, u' ');
}

} // namespace

void DurationTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("seconds");

    QTest::addRow("day and clock") << u"1d 02:30:15"_s << qint64(95415);
    QTest::addRow("weeks and days") << u"1w2d"_s << qint64(777600);
    QTest::addRow("minutes") << u"30m"_s << qint64(1800);
    QTest::addRow("number without unit") << u"90"_s << qint64(0);
    QTest::addRow("empty") << QString() << qint64(0);
    QTest::addRow("clock only") << u"00:30:00"_s << qint64(1800);
    QTest::addRow("clock with leading blank") << u" 00:30:00"_s << qint64(1800);
    QTest::addRow("hours and minutes") << u"2h30m"_s << qint64(9000);
    QTest::addRow("one day") << u"1d"_s << qint64(86400);
    QTest::addRow("every unit") << u"1w 1d 2h 3m 4s"_s << qint64(8 * 86400 + 7200 + 180 + 4);
    QTest::addRow("units add up") << u"2d3d"_s << qint64(5 * 86400);
    QTest::addRow("trailing hours without unit") << u"1d 12"_s << qint64(86400);
    QTest::addRow("blanks inside a number are removed") << u"1 2 h"_s << qint64(12 * 3600);
    QTest::addRow("unknown letter drops the number") << u"1x5m"_s << qint64(300);
    QTest::addRow("upper-case unit is unknown") << u"1D"_s << qint64(0);
    QTest::addRow("clock without blank") << u"1d02:00:00"_s << qint64(93600);
    QTest::addRow("clock and hours both count") << u"1h 02:00:00"_s << qint64(3 * 3600);
    QTest::addRow("clock fields not normalised") << u"99:99:99"_s << qint64(99 * 3600 + 99 * 60 + 99);
    QTest::addRow("clock not at the end is no clock") << u"02:00:00 1d"_s << qint64(86400);
    QTest::addRow("short clock is no clock") << u"12:00"_s << qint64(0);
    QTest::addRow("large count beyond 32 bits") << u"30000d"_s << qint64(30000) * 86400;
    QTest::addRow("99 characters") << paddedOneDay(99) << qint64(86400);
    QTest::addRow("100 characters") << paddedOneDay(100) << qint64(0);
}

void DurationTest::parse()
{
    QFETCH(QString, text);
    QFETCH(qint64, seconds);
    QCOMPARE(parseDuration(text), seconds);
}

void DurationTest::typed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<qint64>>("seconds");

    const std::optional<qint64> refused;
    QTest::addRow("hours") << u"3h"_s << std::optional<qint64>(10800);
    QTest::addRow("weeks and days") << u"1w2d"_s << std::optional<qint64>(777600);
    QTest::addRow("units and clock, as the editor shows them")
        << u"1d 02:00:00"_s << std::optional<qint64>(93600);
    QTest::addRow("clock only") << u"01:30:00"_s << std::optional<qint64>(5400);
    QTest::addRow("blanks around and inside") << u" 1w 2d "_s << std::optional<qint64>(777600);
    QTest::addRow("zero means none") << u"0"_s << std::optional<qint64>(0);
    QTest::addRow("empty means none") << QString() << std::optional<qint64>(0);
    QTest::addRow("nine digits") << u"999999999s"_s << std::optional<qint64>(999999999);
    // Far beyond any bound, but read as typed, not wrapped: the bound is the
    // caller's.
    QTest::addRow("99999999 weeks") << u"99999999w"_s << std::optional<qint64>(99999999LL * 7 * 86400);

    // What parseDuration would read as another duration.
    QTest::addRow("minus sign") << u"-1h"_s << refused;
    QTest::addRow("plus sign") << u"+1h"_s << refused;
    QTest::addRow("number without unit") << u"12"_s << refused;
    QTest::addRow("hours after days without unit") << u"1d 12"_s << refused;
    QTest::addRow("upper-case unit") << u"1H"_s << refused;
    QTest::addRow("unknown unit") << u"1y"_s << refused;
    QTest::addRow("unit without number") << u"h"_s << refused;
    QTest::addRow("one-digit hour clock") << u"1:30:00"_s << refused;
    QTest::addRow("clock before units") << u"02:00:00 1d"_s << refused;
    QTest::addRow("ten digits") << u"9999999999w"_s << refused;
    QTest::addRow("tab inside") << u"1h\t30m"_s << refused;
    QTest::addRow("decimal point") << u"1.5h"_s << refused;
    QTest::addRow("100 characters") << paddedOneDay(100) << refused;
}

void DurationTest::typed()
{
    QFETCH(QString, text);
    QFETCH(std::optional<qint64>, seconds);
    QCOMPARE(readTypedDuration(text), seconds);
}

void DurationTest::format_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<bool>("alwaysTime");
    QTest::addColumn<QString>("text");

    QTest::addRow("one day") << qint64(86400) << false << u"1d"_s;
    QTest::addRow("one day, always time") << qint64(86400) << true << u"1d 00:00:00"_s;
    QTest::addRow("day and hour") << qint64(90000) << false << u"1d 01:00:00"_s;
    QTest::addRow("day and clock") << qint64(95415) << false << u"1d 02:30:15"_s;
    QTest::addRow("under a day starts with a blank") << qint64(1800) << true << u" 00:30:00"_s;
    QTest::addRow("under a day, without always time") << qint64(59) << false << u" 00:00:59"_s;
    QTest::addRow("zero") << qint64(0) << false << QString();
    QTest::addRow("zero, always time") << qint64(0) << true << u" 00:00:00"_s;
    QTest::addRow("thirty days") << qint64(30 * 86400) << false << u"30d"_s;
    QTest::addRow("weeks are written as days") << qint64(777600) << false << u"9d"_s;
    QTest::addRow("beyond 32 bits") << qint64(36500) * 86400 + 3661 << false << u"36500d 01:01:01"_s;
}

void DurationTest::format()
{
    QFETCH(qint64, seconds);
    QFETCH(bool, alwaysTime);
    QFETCH(QString, text);
    QCOMPARE(formatDuration(seconds, alwaysTime), text);
    // What is written reads back as the same duration.
    QCOMPARE(parseDuration(text), seconds);
}

void DurationTest::validityDisplay_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("display");

    QTest::addRow("one day and clock") << u"1d 02:00:00"_s << u"1 dia 02:00:00"_s;
    QTest::addRow("thirty days end with a blank") << u"30d"_s << u"30 dias "_s;
    QTest::addRow("one day alone") << u"1d"_s << u"1 dia "_s;
    QTest::addRow("a week is seven days") << u"1w"_s << u"7 dias "_s;
    QTest::addRow("weeks and days") << u"1w2d"_s << u"9 dias "_s;
    QTest::addRow("zero clock is left out") << u"2d 00:00:00"_s << u"2 dias "_s;
    QTest::addRow("clock only, leading blank") << u" 00:30:00"_s << u"00:30:00"_s;
    QTest::addRow("units become a clock") << u"2h30m"_s << u"02:30:00"_s;
    QTest::addRow("minutes not normalised") << u"90m"_s << u"00:90:00"_s;
    QTest::addRow("clock and units add up") << u"1h 00:30:00"_s << u"01:30:00"_s;
    QTest::addRow("trailing number dropped") << u"1d 12"_s << u"1 dia "_s;
    // Unlike parseDuration, blanks are kept and end a number.
    QTest::addRow("blank before the unit") << u"1 d"_s << QString();
    // Clock fields are read like atoi reads them: a leading blank is skipped.
    QTest::addRow("one-digit hour after a blank") << u"1d 2:00:00"_s << u"1 dia 02:00:00"_s;
    QTest::addRow("empty") << QString() << QString();
    QTest::addRow("zero days") << u"0d"_s << QString();
    QTest::addRow("99 characters") << paddedOneDay(99) << u"1 dia "_s;
    QTest::addRow("100 characters") << paddedOneDay(100) << QString();
}

void DurationTest::validityDisplay()
{
    QFETCH(QString, text);
    QFETCH(QString, display);
    QCOMPARE(formatValidityDisplay(text), display);
}

WIFITICKETER_TEST(DurationTest)
#include "durationtest.moc"
