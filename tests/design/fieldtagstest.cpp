#include "localtimezone.h"
#include "testmain.h"

#include "design/fieldtags.h"
#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"

#include <QTest>
#include <clocale>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// 2023-11-14 22:13:20 UTC; the voucher runs for a day and two hours.
constexpr qint64 Created = 1700000000;
constexpr qint64 Expires = Created + 86400 + 7200;

VoucherRecord voucher()
{
    auto profile = std::make_shared<VoucherProfile>();
    profile->Name = u"diaria-router"_s;
    profile->Title = u"Diária"_s;
    profile->PriceText = u"R$ 5,00"_s;
    profile->ValidityDisplay = u"1 dia 02:00:00"_s;
    VoucherRecord v;
    v.Profile = profile;
    v.UserName = u"abc"_s;
    v.Password = u"s3nh4"_s;
    v.Generator = u"caixa"_s;
    v.Created = Created;
    v.Expires = Expires;
    v.Serial = 42;
    v.FirstName = u"Maria"_s;
    v.LastName = u"Souza"_s;
    v.Phone = u"+55 11 5555-0000"_s;
    v.Location = u"Quarto 12"_s;
    v.Comment = u"cortesia"_s;
    v.Email = u"maria@example.com"_s;
    return v;
}

} // namespace

class FieldTagsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void withVoucher_data();
    void withVoucher();
    void withoutVoucher_data();
    void withoutVoucher();
    void serialHasAtLeastNineDigits_data();
    void serialHasAtLeastNineDigits();
    void timesAreLocal_data();
    void timesAreLocal();
    void voucherWithoutProfile();

private:
    std::optional<LocalTimeZone> m_zone;
};

void FieldTagsTest::initTestCase()
{
    m_zone.emplace("UTC0");
    // "%x" of the C locale is month/day/year with two-digit years.
    std::setlocale(LC_TIME, "C");
}

void FieldTagsTest::cleanupTestCase()
{
    m_zone.reset();
    std::setlocale(LC_TIME, "");
}

void FieldTagsTest::withVoucher_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addRow("a caption and a tag") << u"Usuário: ${user}"_s << u"Usuário: abc"_s;
    QTest::addRow("upper case") << u"${USER}"_s << u"abc"_s;
    QTest::addRow("mixed case") << u"${uSeR}"_s << u"abc"_s;
    QTest::addRow("blanks around") << u"${ user }"_s << u"abc"_s;
    QTest::addRow("blank inside") << u"${us er}"_s << u"abc"_s;
    QTest::addRow("a tab is part of the name") << u"${\tuser}"_s << QString();
    QTest::addRow("only A-Z fold") << u"${\uFF35ser}"_s << QString();
    QTest::addRow("unknown name vanishes") << u"a${nome}b"_s << u"ab"_s;
    QTest::addRow("empty name vanishes") << u"a${}b"_s << u"ab"_s;
    QTest::addRow("dollar without brace") << u"R$ 10"_s << u"R$ 10"_s;
    QTest::addRow("dollars") << u"$$x$"_s << u"$$x$"_s;
    QTest::addRow("closing brace outside a tag") << u"a}b"_s << u"a}b"_s;
    QTest::addRow("unclosed tag at the end") << u"Usuário ${user"_s << u"Usuário abc"_s;
    QTest::addRow("unclosed unknown tag") << u"x${nom"_s << u"x"_s;
    QTest::addRow("dollar brace at the end") << u"x${"_s << u"x"_s;
    QTest::addRow("tags do not nest") << u"${a${user}}"_s << u"}"_s;
    QTest::addRow("two tags") << u"${user}/${password}"_s << u"abc/s3nh4"_s;
    QTest::addRow("same tag twice") << u"${user}${user}"_s << u"abcabc"_s;
    QTest::addRow("profile") << u"${profile}"_s << u"Diária"_s;
    QTest::addRow("price") << u"${price}"_s << u"R$ 5,00"_s;
    QTest::addRow("validity") << u"${validity}"_s << u"1 dia 02:00:00"_s;
    QTest::addRow("generator") << u"${generator}"_s << u"caixa"_s;
    QTest::addRow("serial") << u"${serial}"_s << u"000000042"_s;
    QTest::addRow("date and time of creation") << u"${date} ${time}"_s << u"11/14/23 22:13:20"_s;
    QTest::addRow("till time") << u"${tilltime}"_s << u"11/16/23 00:13"_s;
    QTest::addRow("customer fields")
        << u"${firstname} ${lastname}|${phone}|${location}|${comment}|${email}"_s
        << u"Maria Souza|+55 11 5555-0000|Quarto 12|cortesia|maria@example.com"_s;
    QTest::addRow("other characters kept") << u"😀${user}😀\n"_s << u"😀abc😀\n"_s;
    QTest::addRow("empty") << QString() << QString();
}

void FieldTagsTest::withVoucher()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const VoucherRecord v = voucher();
    QCOMPARE(expandTags(text, &v), expected);
}

void FieldTagsTest::withoutVoucher_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addRow("price") << u"${price}"_s << u"price"_s;
    QTest::addRow("name as written in the table") << u"${Email}"_s << u"email"_s;
    QTest::addRow("blanks") << u"${ tilltime }"_s << u"tilltime"_s;
    QTest::addRow("upper case") << u"${USER}:${PassWord}"_s << u"user:password"_s;
    QTest::addRow("all names")
        << u"${user}${password}${profile}${price}${date}${time}${generator}${serial}${validity}"
           u"${tilltime}${firstname}${lastname}${phone}${location}${comment}${email}"_s
        << u"userpasswordprofilepricedatetimegeneratorserialvaliditytilltimefirstnamelastnamephonelocation"
           u"commentemail"_s;
    QTest::addRow("unknown name") << u"a${nome}b"_s << u"ab"_s;
    QTest::addRow("unclosed") << u"x${date"_s << u"xdate"_s;
}

void FieldTagsTest::withoutVoucher()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(expandTags(text, nullptr), expected);
}

void FieldTagsTest::serialHasAtLeastNineDigits_data()
{
    QTest::addColumn<quint32>("serial");
    QTest::addColumn<QString>("expected");
    QTest::addRow("0") << 0u << u"000000000"_s;
    QTest::addRow("42") << 42u << u"000000042"_s;
    QTest::addRow("nine digits") << 999999999u << u"999999999"_s;
    QTest::addRow("ten digits") << 1234567890u << u"1234567890"_s;
    QTest::addRow("largest") << 4294967295u << u"4294967295"_s;
}

void FieldTagsTest::serialHasAtLeastNineDigits()
{
    QFETCH(quint32, serial);
    QFETCH(QString, expected);
    VoucherRecord v = voucher();
    v.Serial = serial;
    QCOMPARE(expandTags(u"${serial}"_s, &v), expected);
}

void FieldTagsTest::timesAreLocal_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("expected");
    QTest::addRow("UTC") << QByteArray("UTC0") << u"11/14/23 22:13:20 11/16/23 00:13"_s;
    // Three hours west: creation and expiry fall a day earlier in the date.
    QTest::addRow("UTC-3") << QByteArray("BRT3") << u"11/14/23 19:13:20 11/15/23 21:13"_s;
    QTest::addRow("UTC+5:30") << QByteArray("IST-5:30") << u"11/15/23 03:43:20 11/16/23 05:43"_s;
}

void FieldTagsTest::timesAreLocal()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, expected);
    setLocalTimeZone(zone.constData());
    const VoucherRecord v = voucher();
    const QString expanded = expandTags(u"${date} ${time} ${tilltime}"_s, &v);
    setLocalTimeZone("UTC0");
    QCOMPARE(expanded, expected);
}

void FieldTagsTest::voucherWithoutProfile()
{
    VoucherRecord v = voucher();
    v.Profile.reset();
    QCOMPARE(expandTags(u"[${profile}|${price}|${validity}] ${user}"_s, &v), u"[||] abc"_s);
}

WIFITICKETER_TEST(FieldTagsTest)
#include "fieldtagstest.moc"
