#include "credentials.h"

#include "voucherprofile.h"
#include "voucherrecord.h"

#include "config/appsettings.h"

using namespace Qt::StringLiterals;

const QString CredentialAlphabet = u"0123456789abcdefhkmnopqrstuvwxyz"_s;

namespace {

thread_local quint32 randomState = 1;

constexpr quint32 MaxSerial = 999999999;
// The setup page keeps the sizes in this range; a value outside it can only
// come from a damaged key and must not make absurd credentials.
constexpr qint32 MinCredentialSize = 2;
constexpr qint32 MaxCredentialSize = 12;

QString randomText(qint32 size, bool onlyDigits)
{
    QString text;
    const qint32 count = qBound(MinCredentialSize, size, MaxCredentialSize);
    for (qint32 i = 0; i < count; ++i)
        text += onlyDigits ? randomDigit() : randomCredentialCharacter();
    return text;
}

} // namespace

void seedRandom(quint32 seed)
{
    randomState = seed;
}

quint32 nextRandom()
{
    randomState = randomState * 214013u + 2531011u;
    return (randomState >> 16) & 0x7FFF;
}

quint32 generationSeed(qint64 nowSeconds, quint64 tickCount)
{
    return (quint32(nowSeconds) << 4) + quint32(tickCount & 15);
}

QChar randomCredentialCharacter()
{
    return CredentialAlphabet[nextRandom() & 31];
}

QChar randomDigit()
{
    return QChar(u'0' + nextRandom() % 10);
}

void makeUserName(VoucherRecord &record, const std::optional<QString> &given, const AppSettings &settings)
{
    if (given) {
        record.UserName = *given;
        record.RandomName = false;
        return;
    }
    record.RandomName = true;
    const bool hotSpot = record.Profile && record.Profile->HotSpot.has_value();
    record.UserName = (hotSpot ? settings.GenerateHotSpotUserPrefix : settings.GenerateUserPrefix) +
                      randomText(settings.GenerateUserSize, settings.UseOnlyNumbers);
}

void makePassword(VoucherRecord &record, const AppSettings &settings)
{
    record.Password.clear();
    if (settings.CreateRandomPassword)
        record.Password = randomText(settings.GeneratePasswordSize, settings.UseOnlyNumbers);
}

bool passwordIsGenerated(const AppSettings &settings)
{
    return !settings.QueryPassword;
}

bool userDataPromptNeeded(const VoucherRecord &record, const AppSettings &settings)
{
    return settings.QueryPassword || settings.QueryUserData || record.UserName.isEmpty();
}

quint32 nextSerial(AppSettings &settings)
{
    quint32 serial = settings.VoucherSerial > MaxSerial ? 1 : settings.VoucherSerial;
    settings.VoucherSerial = serial + 1;
    return serial;
}
