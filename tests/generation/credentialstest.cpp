#include "testmain.h"

#include "config/appsettings.h"
#include "generation/credentials.h"
#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"

#include <QSet>
#include <QTest>
#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

class CredentialsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomSource_data();
    void randomSource();
    void randomStateIsPerThread();
    void generationSeed_data();
    void generationSeed();
    void alphabetCoverage();

    void generatedCredentials_data();
    void generatedCredentials();
    void givenNameIsVerbatim_data();
    void givenNameIsVerbatim();
    void passwordOff();

    void promptRules_data();
    void promptRules();

    void nextSerial_data();
    void nextSerial();
};

namespace {

std::shared_ptr<const VoucherProfile> userManagerProfile()
{
    auto profile = std::make_shared<VoucherProfile>();
    profile->Name = u"1dia"_s;
    profile->Validity = u"1d"_s;
    return profile;
}

std::shared_ptr<const VoucherProfile> hotSpotProfile()
{
    auto profile = std::make_shared<VoucherProfile>();
    profile->Name = u"1hora"_s;
    profile->Validity = u" 01:00:00"_s;
    HotSpotProfile hotSpot;
    hotSpot.Name = u"1hora"_s;
    hotSpot.Validity = 3600;
    profile->HotSpot = hotSpot;
    return profile;
}

} // namespace

// Expected draws were computed outside the program from the generator's
// definition; seed 1 gives the well-known sequence of the C library's rand.
void CredentialsTest::randomSource_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QList<quint32>>("draws");

    QTest::addRow("seed 1") << 1u << QList<quint32>{41, 18467, 6334, 26500, 19169, 15724};
    QTest::addRow("seed 0") << 0u << QList<quint32>{38, 7719, 21238};
    QTest::addRow("seed 12345") << 12345u << QList<quint32>{7584, 19164, 25795, 22125, 5828, 23405};
    QTest::addRow("state wraps at 2^32") << 0xFFFFFFFFu << QList<quint32>{35, 29739, 3374};
}

void CredentialsTest::randomSource()
{
    QFETCH(quint32, seed);
    QFETCH(QList<quint32>, draws);

    seedRandom(seed);
    QList<quint32> actual;
    for (qsizetype i = 0; i < draws.size(); ++i)
        actual.append(nextRandom());
    QCOMPARE(actual, draws);

    // Seeding again restarts the sequence.
    seedRandom(seed);
    QCOMPARE(nextRandom(), draws.first());
}

void CredentialsTest::randomStateIsPerThread()
{
    seedRandom(12345);
    QCOMPARE(nextRandom(), 7584u);

    // A thread that never seeded starts at state 1, whatever this thread did;
    // its seeding and drawing leave this thread's sequence alone.
    QList<quint32> fresh;
    QList<quint32> reseeded;
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i)
            fresh.append(nextRandom());
        seedRandom(0);
        reseeded.append(nextRandom());
    });
    worker.join();

    QCOMPARE(fresh, (QList<quint32>{41, 18467, 6334}));
    QCOMPARE(reseeded, QList<quint32>{38});
    QCOMPARE(nextRandom(), 19164u);
}

void CredentialsTest::generationSeed_data()
{
    QTest::addColumn<qint64>("nowSeconds");
    QTest::addColumn<quint64>("tickCount");
    QTest::addColumn<quint32>("seed");

    QTest::addRow("zero") << qint64(0) << quint64(0) << 0u;
    QTest::addRow("low 4 tick bits only") << qint64(1) << quint64(0x12345) << 0x15u;
    QTest::addRow("time shifted out of 32 bits") << qint64(1700000000) << quint64(123456789) << 1430196229u;
    QTest::addRow("only the low 32 bits of the time")
        << qint64(0x100000001) << quint64(0xFFFFFFFFFFull) << 0x1Fu;
}

void CredentialsTest::generationSeed()
{
    QFETCH(qint64, nowSeconds);
    QFETCH(quint64, tickCount);
    QFETCH(quint32, seed);
    QCOMPARE(::generationSeed(nowSeconds, tickCount), seed);
}

void CredentialsTest::alphabetCoverage()
{
    QCOMPARE(CredentialAlphabet, u"0123456789abcdefhkmnopqrstuvwxyz"_s);

    // Over many draws every alphabet character turns up and nothing else does.
    seedRandom(1);
    QSet<QChar> characters;
    for (int i = 0; i < 2000; ++i)
        characters.insert(randomCredentialCharacter());
    QCOMPARE(characters.size(), 32);
    for (QChar c : characters)
        QVERIFY2(CredentialAlphabet.contains(c), qPrintable(QString(c)));
    for (QChar misread : {u'g', u'i', u'j', u'l'})
        QVERIFY(!characters.contains(misread));

    QSet<QChar> digits;
    for (int i = 0; i < 2000; ++i)
        digits.insert(randomDigit());
    QCOMPARE(digits, (QSet<QChar>{u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9'}));
}

// Expected names and passwords were computed outside the program: for each
// character one draw r, giving alphabet[r & 31] or the digit r % 10; the name
// is drawn first, the password continues the same sequence.
void CredentialsTest::generatedCredentials_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("hotSpot");
    QTest::addColumn<bool>("onlyNumbers");
    QTest::addColumn<QString>("userPrefix");
    QTest::addColumn<QString>("hotSpotPrefix");
    QTest::addColumn<int>("userSize");
    QTest::addColumn<int>("passwordSize");
    QTest::addColumn<QString>("userName");
    QTest::addColumn<QString>("password");

    const QString user = u"user"_s;
    const QString usr = u"usr"_s;
    QTest::addRow("hotspot, defaults")
        << 12345u << true << false << user << usr << 6 << 6 << u"usr0w3d4d"_s << u"p5hcfh"_s;
    QTest::addRow("User Manager, defaults")
        << 12345u << false << false << user << usr << 6 << 6 << u"user0w3d4d"_s << u"p5hcfh"_s;
    QTest::addRow("User Manager, only numbers")
        << 12345u << false << true << user << usr << 6 << 6 << u"user445585"_s << u"732490"_s;
    QTest::addRow("own prefixes, kind picks the prefix")
        << 12345u << true << false << u"um-"_s << u"hs-"_s << 6 << 6 << u"hs-0w3d4d"_s << u"p5hcfh"_s;
    QTest::addRow("empty prefix: the name is only the characters")
        << 12345u << false << false << QString() << usr << 6 << 6 << u"0w3d4d"_s << u"p5hcfh"_s;
    QTest::addRow("only numbers leave the prefix alone")
        << 12345u << false << true << u"Wifi-Gil"_s << usr << 6 << 6 << u"Wifi-Gil445585"_s << u"732490"_s;
    QTest::addRow("other sizes") << 2024u << false << false << user << usr << 8 << 10 << u"usersykskayt"_s
                                 << u"pbv3nx2tnu"_s;
    QTest::addRow("other sizes, hotspot, only numbers")
        << 2024u << true << true << user << usr << 4 << 12 << u"usr8296"_s << u"720195371969"_s;
    QTest::addRow("smallest size") << 99u << false << false << user << usr << 2 << 2 << u"user93"_s
                                   << u"z1"_s;
    QTest::addRow("largest size") << 99u << false << false << user << usr << 12 << 12 << u"user93z1ezmp91ad"_s
                                  << u"vzt8qee67svz"_s;
    // Sizes outside 2..12 can only come from a damaged settings key.
    QTest::addRow("size 0 clamped to 2")
        << 99u << false << false << user << usr << 0 << 0 << u"user93"_s << u"z1"_s;
    QTest::addRow("size 1 clamped to 2")
        << 99u << false << false << user << usr << 1 << 1 << u"user93"_s << u"z1"_s;
    QTest::addRow("negative size clamped to 2")
        << 99u << false << false << user << usr << -7 << -7 << u"user93"_s << u"z1"_s;
    QTest::addRow("size 13 clamped to 12")
        << 99u << false << false << user << usr << 13 << 13 << u"user93z1ezmp91ad"_s << u"vzt8qee67svz"_s;
    QTest::addRow("huge size clamped to 12")
        << 99u << false << false << user << usr << 1000 << 1000 << u"user93z1ezmp91ad"_s << u"vzt8qee67svz"_s;
}

void CredentialsTest::generatedCredentials()
{
    QFETCH(quint32, seed);
    QFETCH(bool, hotSpot);
    QFETCH(bool, onlyNumbers);
    QFETCH(QString, userPrefix);
    QFETCH(QString, hotSpotPrefix);
    QFETCH(int, userSize);
    QFETCH(int, passwordSize);
    QFETCH(QString, userName);
    QFETCH(QString, password);

    AppSettings settings;
    settings.UseOnlyNumbers = onlyNumbers;
    settings.GenerateUserPrefix = userPrefix;
    settings.GenerateHotSpotUserPrefix = hotSpotPrefix;
    settings.GenerateUserSize = userSize;
    settings.GeneratePasswordSize = passwordSize;

    VoucherRecord record;
    record.Profile = hotSpot ? hotSpotProfile() : userManagerProfile();
    record.Password = u"stale"_s;
    seedRandom(seed);
    makeUserName(record, std::nullopt, settings);
    makePassword(record, settings);

    QCOMPARE(record.UserName, userName);
    QVERIFY(record.RandomName);
    QCOMPARE(record.Password, password);
}

void CredentialsTest::givenNameIsVerbatim_data()
{
    QTest::addColumn<QString>("given");

    QTest::addRow("outside the alphabet") << u"João Gil-lj"_s;
    QTest::addRow("looks like a generated name") << u"usr0w3d4d"_s;
    QTest::addRow("long") << QString(40, u'X');
}

void CredentialsTest::givenNameIsVerbatim()
{
    QFETCH(QString, given);

    AppSettings settings;
    settings.UseOnlyNumbers = true;
    VoucherRecord record;
    record.Profile = hotSpotProfile();
    record.RandomName = true;
    seedRandom(12345);
    makeUserName(record, given, settings);

    QCOMPARE(record.UserName, given);
    QVERIFY(!record.RandomName);
    // A given name takes nothing from the random sequence.
    QCOMPARE(nextRandom(), 7584u);
}

void CredentialsTest::passwordOff()
{
    AppSettings settings;
    settings.CreateRandomPassword = false;
    VoucherRecord record;
    record.Profile = userManagerProfile();
    record.Password = u"stale"_s;

    seedRandom(12345);
    makeUserName(record, std::nullopt, settings);
    makePassword(record, settings);
    QCOMPARE(record.UserName, u"user0w3d4d"_s);
    QCOMPARE(record.Password, QString());

    // The empty password draws nothing: the next name continues where the
    // previous one stopped.
    makeUserName(record, std::nullopt, settings);
    QCOMPARE(record.UserName, u"userp5hcfh"_s);
}

void CredentialsTest::promptRules_data()
{
    QTest::addColumn<bool>("queryPassword");
    QTest::addColumn<bool>("queryUserData");
    QTest::addColumn<bool>("createRandomPassword");
    QTest::addColumn<QString>("userName");
    QTest::addColumn<bool>("generated");
    QTest::addColumn<bool>("prompt");

    const QString name = u"user0w3d4d"_s;
    QTest::addRow("defaults: no prompt") << false << false << true << name << true << false;
    QTest::addRow("no random password, still no prompt") << false << false << false << name << true << false;
    QTest::addRow("user data asked") << false << true << true << name << true << true;
    QTest::addRow("no random password, user data asked") << false << true << false << name << true << true;
    QTest::addRow("empty name") << false << false << true << QString() << true << true;
    QTest::addRow("manual password") << true << false << true << name << false << true;
    QTest::addRow("manual password, no random password") << true << false << false << name << false << true;
    QTest::addRow("manual password and user data") << true << true << true << QString() << false << true;
}

void CredentialsTest::promptRules()
{
    QFETCH(bool, queryPassword);
    QFETCH(bool, queryUserData);
    QFETCH(bool, createRandomPassword);
    QFETCH(QString, userName);
    QFETCH(bool, generated);
    QFETCH(bool, prompt);

    AppSettings settings;
    settings.QueryPassword = queryPassword;
    settings.QueryUserData = queryUserData;
    settings.CreateRandomPassword = createRandomPassword;
    VoucherRecord record;
    record.UserName = userName;

    QCOMPARE(passwordIsGenerated(settings), generated);
    QCOMPARE(userDataPromptNeeded(record, settings), prompt);
}

void CredentialsTest::nextSerial_data()
{
    QTest::addColumn<quint32>("counter");
    QTest::addColumn<QList<quint32>>("serials");
    // VoucherSerial after each call.
    QTest::addColumn<QList<quint32>>("counters");

    QTest::addRow("default") << 1u << QList<quint32>{1, 2, 3} << QList<quint32>{2, 3, 4};
    QTest::addRow("last serial, then back to 1")
        << 999999999u << QList<quint32>{999999999, 1} << QList<quint32>{1000000000, 2};
    QTest::addRow("counter at the top of 32 bits") << 0xFFFFFFFFu << QList<quint32>{1} << QList<quint32>{2};
    QTest::addRow("counter 0 yields serial 0 once") << 0u << QList<quint32>{0, 1} << QList<quint32>{1, 2};
}

void CredentialsTest::nextSerial()
{
    QFETCH(quint32, counter);
    QFETCH(QList<quint32>, serials);
    QFETCH(QList<quint32>, counters);

    AppSettings settings;
    settings.VoucherSerial = counter;
    QList<quint32> actualSerials;
    QList<quint32> actualCounters;
    for (qsizetype i = 0; i < serials.size(); ++i) {
        actualSerials.append(::nextSerial(settings));
        actualCounters.append(settings.VoucherSerial);
    }
    QCOMPARE(actualSerials, serials);
    QCOMPARE(actualCounters, counters);
}

WIFITICKETER_TEST(CredentialsTest)
#include "credentialstest.moc"
