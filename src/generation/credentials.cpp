#include "credentials.h"

#include "voucherprofile.h"
#include "voucherrecord.h"

#include "config/appsettings.h"

#include <QRandomGenerator>
#include <random>

using namespace Qt::StringLiterals;

const QString CredentialAlphabet = u"0123456789abcdefhkmnopqrstuvwxyz"_s;

namespace {

// The setup page keeps the sizes in this range; a value outside it can only
// come from a damaged key and must not make absurd credentials.
constexpr qint32 MinCredentialSize = 2;
constexpr qint32 MaxCredentialSize = 12;

// A uniform draw from 0 to count - 1. The distribution throws away the raw
// values that would make some results more likely than others, where a plain
// remainder would favour the low ones.
quint32 uniformIndex(quint32 count)
{
    std::uniform_int_distribution<quint32> distribution(0, count - 1);
    return distribution(*QRandomGenerator::system());
}

QString randomText(qint32 size, qint32 defaultSize, bool onlyDigits)
{
    const qint32 count = size >= MinCredentialSize && size <= MaxCredentialSize ? size : defaultSize;
    QString text;
    text.reserve(count);
    for (qint32 i = 0; i < count; ++i)
        text += onlyDigits ? randomDigit() : randomCredentialCharacter();
    return text;
}

} // namespace

QChar randomCredentialCharacter()
{
    return CredentialAlphabet[uniformIndex(quint32(CredentialAlphabet.size()))];
}

QChar randomDigit()
{
    return QChar(char16_t(u'0' + uniformIndex(10)));
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
    record.UserName =
        (hotSpot ? settings.GenerateHotSpotUserPrefix : settings.GenerateUserPrefix) +
        randomText(settings.GenerateUserSize, AppSettings().GenerateUserSize, settings.UseOnlyNumbers);
}

void makePassword(VoucherRecord &record, const AppSettings &settings)
{
    record.Password.clear();
    if (settings.CreateRandomPassword)
        record.Password = randomText(settings.GeneratePasswordSize, AppSettings().GeneratePasswordSize,
                                     settings.UseOnlyNumbers);
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
