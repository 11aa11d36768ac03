#include "testmain.h"

#include "config/appsettings.h"
#include "generation/credentials.h"
#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"

#include <QHash>
#include <QSet>
#include <QTest>
#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

class CredentialsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void alphabet();
    void generatedCredentials_data();
    void generatedCredentials();
    void noRepeatsBeyondChance_data();
    void noRepeatsBeyondChance();
    void charactersAreEvenlyDrawn_data();
    void charactersAreEvenlyDrawn();
    void threadsDrawDifferentCredentials();
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

// The characters a generated credential may hold, written out here rather
// than taken from the code: no g, i, j or l, which are misread on paper.
const QString LettersAndDigits = u"0123456789abcdefhkmnopqrstuvwxyz"_s;
const QString Digits = u"0123456789"_s;

// The first character of the text outside the characters, or nothing.
std::optional<QChar> strayCharacter(const QString &text, const QString &characters)
{
    for (QChar c : text) {
        if (!characters.contains(c))
            return c;
    }
    return std::nullopt;
}

QStringList passwords(int count, int size, bool onlyNumbers)
{
    AppSettings settings;
    settings.GeneratePasswordSize = size;
    settings.UseOnlyNumbers = onlyNumbers;
    VoucherRecord record;
    QStringList drawn;
    for (int i = 0; i < count; ++i) {
        makePassword(record, settings);
        drawn.append(record.Password);
    }
    return drawn;
}

} // namespace

void CredentialsTest::alphabet()
{
    QCOMPARE(CredentialAlphabet, LettersAndDigits);
    for (QChar misread : {u'g', u'i', u'j', u'l'})
        QVERIFY(!CredentialAlphabet.contains(misread));

    // Single draws stay inside their alphabets.
    for (int i = 0; i < 2000; ++i) {
        const QChar character = randomCredentialCharacter();
        QVERIFY2(LettersAndDigits.contains(character), qPrintable(QString(character)));
        const QChar digit = randomDigit();
        QVERIFY2(Digits.contains(digit), qPrintable(QString(digit)));
    }
}

void CredentialsTest::generatedCredentials_data()
{
    QTest::addColumn<bool>("hotSpot");
    QTest::addColumn<bool>("onlyNumbers");
    QTest::addColumn<QString>("userPrefix");
    QTest::addColumn<QString>("hotSpotPrefix");
    QTest::addColumn<int>("userSize");
    QTest::addColumn<int>("passwordSize");
    QTest::addColumn<QString>("prefix");     // the name starts with it
    QTest::addColumn<int>("nameCharacters"); // drawn characters after the prefix
    QTest::addColumn<int>("passwordCharacters");

    const QString user = u"user"_s;
    const QString usr = u"usr"_s;
    QTest::addRow("hotspot, defaults") << true << false << user << usr << 6 << 6 << usr << 6 << 6;
    QTest::addRow("User Manager, defaults") << false << false << user << usr << 6 << 6 << user << 6 << 6;
    QTest::addRow("User Manager, only numbers") << false << true << user << usr << 6 << 6 << user << 6 << 6;
    QTest::addRow("own prefixes, kind picks the prefix")
        << true << false << u"um-"_s << u"hs-"_s << 6 << 6 << u"hs-"_s << 6 << 6;
    QTest::addRow("own prefixes, User Manager")
        << false << false << u"um-"_s << u"hs-"_s << 6 << 6 << u"um-"_s << 6 << 6;
    QTest::addRow("empty prefix: the name is only the characters")
        << false << false << QString() << usr << 6 << 6 << QString() << 6 << 6;
    QTest::addRow("only numbers leave the prefix alone")
        << false << true << u"Wifi-Gil"_s << usr << 6 << 6 << u"Wifi-Gil"_s << 6 << 6;
    QTest::addRow("other sizes") << false << false << user << usr << 8 << 10 << user << 8 << 10;
    QTest::addRow("other sizes, hotspot, only numbers")
        << true << true << user << usr << 4 << 12 << usr << 4 << 12;
    QTest::addRow("smallest size") << false << false << user << usr << 2 << 2 << user << 2 << 2;
    QTest::addRow("largest size") << false << false << user << usr << 12 << 12 << user << 12 << 12;
    // Sizes outside 2..12 can only come from a damaged settings key: the
    // default size of six is used instead.
    QTest::addRow("size 0 gives the default") << false << false << user << usr << 0 << 0 << user << 6 << 6;
    QTest::addRow("size 1 gives the default") << false << false << user << usr << 1 << 1 << user << 6 << 6;
    QTest::addRow("negative size gives the default")
        << false << false << user << usr << -7 << -7 << user << 6 << 6;
    QTest::addRow("size 13 gives the default") << false << false << user << usr << 13 << 13 << user << 6 << 6;
    QTest::addRow("huge size gives the default")
        << false << true << user << usr << 1000 << 1000 << user << 6 << 6;
    QTest::addRow("only the damaged size falls back")
        << true << false << user << usr << 12 << 99 << usr << 12 << 6;
}

void CredentialsTest::generatedCredentials()
{
    QFETCH(bool, hotSpot);
    QFETCH(bool, onlyNumbers);
    QFETCH(QString, userPrefix);
    QFETCH(QString, hotSpotPrefix);
    QFETCH(int, userSize);
    QFETCH(int, passwordSize);
    QFETCH(QString, prefix);
    QFETCH(int, nameCharacters);
    QFETCH(int, passwordCharacters);

    AppSettings settings;
    settings.UseOnlyNumbers = onlyNumbers;
    settings.GenerateUserPrefix = userPrefix;
    settings.GenerateHotSpotUserPrefix = hotSpotPrefix;
    settings.GenerateUserSize = userSize;
    settings.GeneratePasswordSize = passwordSize;
    const QString characters = onlyNumbers ? Digits : LettersAndDigits;

    // Many vouchers, so that a character outside the alphabet would show.
    for (int i = 0; i < 200; ++i) {
        VoucherRecord record;
        record.Profile = hotSpot ? hotSpotProfile() : userManagerProfile();
        record.Password = u"stale"_s;
        makeUserName(record, std::nullopt, settings);
        makePassword(record, settings);

        QVERIFY(record.RandomName);
        QVERIFY2(record.UserName.startsWith(prefix), qPrintable(record.UserName));
        QCOMPARE(record.UserName.size(), prefix.size() + nameCharacters);
        const QString drawn = record.UserName.mid(prefix.size());
        QVERIFY2(!strayCharacter(drawn, characters), qPrintable(record.UserName));
        QCOMPARE(record.Password.size(), passwordCharacters);
        QVERIFY2(!strayCharacter(record.Password, characters), qPrintable(record.Password));
    }
}

// Distinct credentials drawn uniformly from N possible ones repeat by chance:
// n draws hold about n(n-1)/2N repeated pairs (the birthday bound). Each row
// states that expectation, worked out by hand, and a bound a few times above
// it that a generator with little state or a fixed seed goes far beyond.
void CredentialsTest::noRepeatsBeyondChance_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("onlyNumbers");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("maxRepeats"); // count minus the number of distinct ones

    // N = 32^6 = 1073741824: 10000 * 9999 / 2 / N = 0.047 repeats expected;
    // four or more come by chance about once in five million runs.
    QTest::addRow("six letters and digits") << 6 << false << 10000 << 3;
    // N = 10^6: 10000 * 9999 / 2 / 10^6 = 50 expected, give or take 7; 90 is
    // more than five of those steps away.
    QTest::addRow("six digits") << 6 << true << 10000 << 90;
    // N = 32^12 = 2^60: about 4e-11 expected, so none at all.
    QTest::addRow("twelve letters and digits") << 12 << false << 10000 << 0;
    // N = 32^2 = 1024: 1000 * 999 / 2 / 1024 = 488 pairs, but with so many
    // the distinct count is the better measure: 1024 * (1 - (1 - 1/1024)^1000)
    // = 639 distinct, 361 repeats expected, give or take about 10.
    QTest::addRow("two letters and digits") << 2 << false << 1000 << 420;
}

void CredentialsTest::noRepeatsBeyondChance()
{
    QFETCH(int, size);
    QFETCH(bool, onlyNumbers);
    QFETCH(int, count);
    QFETCH(int, maxRepeats);

    const QStringList drawn = passwords(count, size, onlyNumbers);
    QCOMPARE(drawn.size(), count);
    const qsizetype repeats = count - QSet<QString>(drawn.begin(), drawn.end()).size();
    QVERIFY2(repeats <= maxRepeats, qPrintable(u"%1 repeats"_s.arg(repeats)));
}

// Every character of the alphabet turns up, each about as often as the others.
// With n characters drawn from an alphabet of k, each is expected n/k times,
// give or take sqrt(n/k * (1 - 1/k)); the band of a fifth either side is more
// than nine of those steps wide for both rows.
void CredentialsTest::charactersAreEvenlyDrawn_data()
{
    QTest::addColumn<bool>("onlyNumbers");
    QTest::addColumn<QString>("characters");
    QTest::addColumn<int>("count"); // passwords of eight characters

    // 64000 characters over 32: 2000 each, give or take 44.
    QTest::addRow("letters and digits") << false << LettersAndDigits << 8000;
    // 20000 characters over 10: 2000 each, give or take 42.
    QTest::addRow("digits") << true << Digits << 2500;
}

void CredentialsTest::charactersAreEvenlyDrawn()
{
    QFETCH(bool, onlyNumbers);
    QFETCH(QString, characters);
    QFETCH(int, count);

    QHash<QChar, int> seen;
    for (const QString &password : passwords(count, 8, onlyNumbers)) {
        for (QChar c : password)
            ++seen[c];
    }
    QCOMPARE(seen.size(), characters.size());
    const int expected = count * 8 / int(characters.size());
    for (QChar c : characters) {
        const int times = seen.value(c);
        QVERIFY2(times >= expected * 4 / 5 && times <= expected * 6 / 5,
                 qPrintable(u"'%1' drawn %2 times, about %3 expected"_s.arg(c).arg(times).arg(expected)));
    }
}

void CredentialsTest::threadsDrawDifferentCredentials()
{
    // Runs on other threads start from nothing a thread of its own could
    // repeat: two of them at once make entirely different passwords.
    QStringList first;
    QStringList second;
    std::thread a([&] { first = passwords(200, 6, false); });
    std::thread b([&] { second = passwords(200, 6, false); });
    a.join();
    b.join();
    QCOMPARE(first.size(), 200);
    QCOMPARE(second.size(), 200);
    const QSet<QString> firstSet(first.begin(), first.end());
    const QSet<QString> secondSet(second.begin(), second.end());
    // 200 * 200 / 32^6: about 4e-5 shared passwords expected.
    QVERIFY(!firstSet.intersects(secondSet));
    QVERIFY(first != passwords(200, 6, false));
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
    makeUserName(record, given, settings);

    QCOMPARE(record.UserName, given);
    QVERIFY(!record.RandomName);
}

void CredentialsTest::passwordOff()
{
    AppSettings settings;
    settings.CreateRandomPassword = false;
    VoucherRecord record;
    record.Profile = userManagerProfile();
    record.Password = u"stale"_s;

    makeUserName(record, std::nullopt, settings);
    makePassword(record, settings);
    QCOMPARE(record.Password, QString());
    // The name is made as usual.
    QVERIFY2(record.UserName.startsWith(u"user"_s) && record.UserName.size() == 10,
             qPrintable(record.UserName));
    QVERIFY2(!strayCharacter(record.UserName.mid(4), LettersAndDigits), qPrintable(record.UserName));
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
