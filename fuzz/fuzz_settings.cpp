// The settings file from any bytes, read the way the program reads it at start:
// every setting follows the reading rules of the 400-byte query buffer, there is
// always a program user, and saving what was read and reading it again gives
// the same settings and users, with the other keys of the file unchanged. A
// file that is not recognised as a registry export is never replaced: the save
// fails and tells the operator.

#include "filebytes.h"
#include "fuzzcheck.h"
#include "silentinteraction.h"

#include "base/regfile.h"
#include "base/scramble.h"
#include "base/settingskey.h"
#include "config/appsettings.h"

#include <QtEndian>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype QueryBufferSize = 400;
constexpr qsizetype MaxTextUnits = 199;
constexpr qsizetype MaxScrambledUnits = 199;

// The value as the query buffer holds it: nothing when it is missing or longer
// than the buffer, else its bytes and zeros up to the buffer's end.
std::optional<QByteArray> queried(const std::optional<RegKeyValues> &key, const QString &name)
{
    const RegValue *value = key ? findRegValue(*key, name) : nullptr;
    if (!value || value->data.size() > QueryBufferSize)
        return std::nullopt;
    return value->data + QByteArray(QueryBufferSize - value->data.size(), '\0');
}

class RuleCheck
{
public:
    explicit RuleCheck(const std::optional<RegKeyValues> &key) : m_key(key) {}

    // A text is the buffer's units up to the first NUL, and no more than fit
    // before the NUL that ends the buffer.
    void text(const QString &name, const QString &actual, const QString &fallback) const
    {
        QString expected = fallback;
        if (std::optional<QByteArray> buffer = queried(m_key, name)) {
            expected.clear();
            for (qsizetype i = 0; i < MaxTextUnits; ++i) {
                const char16_t unit = qFromLittleEndian<quint16>(buffer->constData() + 2 * i);
                if (unit == 0)
                    break;
                expected += QChar(unit);
            }
        }
        require(actual == expected, "a text setting is read from the query buffer, at most 199 units");
    }

    // Numbers and flags are the buffer's first bytes, whatever the stored type.
    void flag(const QString &name, bool actual, bool fallback) const
    {
        const std::optional<QByteArray> buffer = queried(m_key, name);
        require(actual == (buffer ? qFromLittleEndian<quint32>(buffer->constData()) != 0 : fallback),
                "a flag is the first 4 bytes of the query buffer");
    }

    template<typename Number>
    void number(const QString &name, Number actual, Number fallback) const
    {
        const std::optional<QByteArray> buffer = queried(m_key, name);
        require(actual == (buffer ? qFromLittleEndian<Number>(buffer->constData()) : fallback),
                "a number is the first bytes of the query buffer");
    }

    void scrambled(const QString &name, const QString &actual, const QString &fallback) const
    {
        const RegValue *value = m_key ? findRegValue(*m_key, name) : nullptr;
        const bool fits = value && value->data.size() <= QueryBufferSize;
        require(actual == (fits ? unscramble(value->data) : fallback),
                "a scrambled setting fits the query buffer");
    }

private:
    const std::optional<RegKeyValues> &m_key;
};

void checkRules(const std::optional<RegKeyValues> &key, const AppSettings &s)
{
    const AppSettings d;
    const LegacySettings &l = s.Legacy;
    const LegacySettings &dl = d.Legacy;
    const RuleCheck c(key);
    c.text(u"GenerateUserPrefix"_s, s.GenerateUserPrefix, d.GenerateUserPrefix);
    c.flag(u"CreateRandomUserName"_s, s.CreateRandomUserName, d.CreateRandomUserName);
    c.flag(u"UseUserDatabase"_s, s.UseUserDatabase, d.UseUserDatabase);
    c.flag(u"VerifyCreatedUser"_s, s.VerifyCreatedUser, d.VerifyCreatedUser);
    c.flag(u"CreateRandomPassword"_s, s.CreateRandomPassword, d.CreateRandomPassword);
    c.flag(u"UseOnlyNumbers"_s, s.UseOnlyNumbers, d.UseOnlyNumbers);
    c.flag(u"QueryPassword"_s, s.QueryPassword, d.QueryPassword);
    c.flag(u"QueryUserData"_s, s.QueryUserData, d.QueryUserData);
    c.text(u"GenerateHotSpotUserPrefix"_s, s.GenerateHotSpotUserPrefix, d.GenerateHotSpotUserPrefix);
    c.number(u"HotSpotScheduleInterval"_s, s.HotSpotScheduleInterval, d.HotSpotScheduleInterval);
    c.flag(u"MinimizeToTray"_s, s.MinimizeToTray, d.MinimizeToTray);
    c.number(u"GenerateUserSize"_s, s.GenerateUserSize, d.GenerateUserSize);
    c.text(u"UseCurrency"_s, s.UseCurrency, d.UseCurrency);
    c.number(u"GeneratePasswordSize"_s, s.GeneratePasswordSize, d.GeneratePasswordSize);
    c.number(u"VoucherSerial"_s, s.VoucherSerial, d.VoucherSerial);
    c.flag(u"AutoPrint"_s, s.AutoPrint, d.AutoPrint);

    c.text(u"MikrotikAddress"_s, l.MikrotikAddress, dl.MikrotikAddress);
    c.text(u"MikrotikApiPort"_s, l.MikrotikApiPort, dl.MikrotikApiPort);
    c.scrambled(u"MikrotikUser"_s, l.MikrotikUser, dl.MikrotikUser);
    c.scrambled(u"MikrotikPassword"_s, l.MikrotikPassword, dl.MikrotikPassword);
    c.scrambled(u"MikrotikCustomer"_s, l.MikrotikCustomer, dl.MikrotikCustomer);
    c.flag(u"MacBinding"_s, l.MacBinding, dl.MacBinding);
    c.flag(u"EnableUserManager"_s, l.EnableUserManager, dl.EnableUserManager);
    c.flag(u"OneRouter"_s, l.OneRouter, dl.OneRouter);
    c.text(u"MikrotikHotSpotAddress"_s, l.MikrotikHotSpotAddress, dl.MikrotikHotSpotAddress);
    c.text(u"MikrotikHotSpotApiPort"_s, l.MikrotikHotSpotApiPort, dl.MikrotikHotSpotApiPort);
    c.scrambled(u"MikrotikHotSpotUser"_s, l.MikrotikHotSpotUser, dl.MikrotikHotSpotUser);
    c.scrambled(u"MikrotikHotSpotPassword"_s, l.MikrotikHotSpotPassword, dl.MikrotikHotSpotPassword);
    c.scrambled(u"UserName"_s, l.UserName, dl.UserName);
    c.scrambled(u"UserPassword"_s, l.UserPassword, dl.UserPassword);
}

// Every setting but SettingsPresent.
bool sameSettings(const AppSettings &a, const AppSettings &b)
{
    const auto fields = [](const AppSettings &s) {
        return std::tie(s.GenerateUserPrefix, s.CreateRandomUserName, s.UseUserDatabase, s.VerifyCreatedUser,
                        s.CreateRandomPassword, s.UseOnlyNumbers, s.QueryPassword, s.QueryUserData,
                        s.GenerateHotSpotUserPrefix, s.HotSpotScheduleInterval, s.MinimizeToTray,
                        s.GenerateUserSize, s.UseCurrency, s.GeneratePasswordSize, s.VoucherSerial,
                        s.AutoPrint);
    };
    const auto legacy = [](const LegacySettings &l) {
        return std::tie(l.MikrotikAddress, l.MikrotikApiPort, l.MikrotikUser, l.MikrotikPassword,
                        l.MikrotikCustomer, l.MacBinding, l.EnableUserManager, l.OneRouter,
                        l.MikrotikHotSpotAddress, l.MikrotikHotSpotApiPort, l.MikrotikHotSpotUser,
                        l.MikrotikHotSpotPassword, l.UserName, l.UserPassword);
    };
    return fields(a) == fields(b) && legacy(a.Legacy) == legacy(b.Legacy);
}

bool sameValues(const std::optional<RegKeyValues> &a, const std::optional<RegKeyValues> &b)
{
    if (a.has_value() != b.has_value())
        return false;
    if (!a)
        return true;
    if (a->size() != b->size())
        return false;
    for (qsizetype i = 0; i < a->size(); ++i) {
        if ((*a)[i].name != (*b)[i].name || (*a)[i].value != (*b)[i].value)
            return false;
    }
    return true;
}

// Counts the messages shown; questions are not asked by a save.
class CountingInteraction : public SilentInteraction
{
public:
    void showMessage(const QString &, MessageIcon) override { ++messages; }
    int messages = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    // The file is rewritten for every input.
    const SettingsKey key(runPath(u"settings.reg"_s));
    require(writeFile(key.filePath(), input), "the input is written to the settings file");

    AppSettings settings;
    QList<AppUser> users;
    loadSettings(key, settings, users);

    const std::optional<RegKeyValues> values = parseRegFile(input, SettingsKeyPath);
    require(settings.SettingsPresent == values.has_value(),
            "settings are present when the file holds the key");
    checkRules(values, settings);

    // The user list is "UsersData" whole; without users there, the old
    // installation's user (or on a first start an unnamed one) may open the setup.
    QList<AppUser> expectedUsers;
    if (const RegValue *usersData = values ? findRegValue(*values, u"UsersData"_s) : nullptr)
        parseUsers(usersData->data, expectedUsers);
    if (expectedUsers.isEmpty()) {
        AppUser first;
        if (values) {
            first.Name = settings.Legacy.UserName;
            first.Password = settings.Legacy.UserPassword;
        }
        first.SettingsAccess = true;
        expectedUsers.append(first);
    }
    require(users == expectedUsers,
            "the program users are those of UsersData, else one who may open the setup");

    // A file that is not recognised is left as it was.
    const RegFile file(input);
    CountingInteraction interaction;
    const bool saved = saveSettings(key, settings, users, interaction);
    if (!file.isRecognised()) {
        require(!saved && interaction.messages == 1,
                "an unrecognised file is not saved, the operator is told");
        require(readFile(key.filePath()) == input, "an unrecognised file is left as it was");
        return 0;
    }

    // Saving keeps every other value of the key, so what is read afterwards is
    // what was read before (user texts cut to what a scrambled text holds).
    require(saved && interaction.messages == 0, "settings are saved");
    const RegFile savedFile(readFile(key.filePath()));
    const QString subkey = SettingsKeyPath + u"\\Window"_s;
    require(sameValues(savedFile.keyValues(subkey), file.keyValues(subkey)), "a subkey is left as it was");
    AppSettings again;
    QList<AppUser> usersAgain;
    loadSettings(key, again, usersAgain);
    require(again.SettingsPresent, "saved settings are present");
    require(sameSettings(again, settings), "saved settings read back unchanged");
    require(usersAgain.size() == users.size(), "every saved user is read back");
    for (qsizetype i = 0; i < users.size(); ++i) {
        AppUser saved = users[i];
        saved.Name = cutTextKeepingPairs(saved.Name, MaxScrambledUnits);
        saved.Password = cutTextKeepingPairs(saved.Password, MaxScrambledUnits);
        require(usersAgain[i] == saved, "a saved user reads back, texts cut to 199 units");
    }
    return 0;
}
