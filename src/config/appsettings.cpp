#include "appsettings.h"

#include "base/atomicfile.h"
#include "base/operatorinteraction.h"
#include "base/scramble.h"
#include "base/settingskey.h"

#include <QCoreApplication>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

// Values are queried into a buffer of this size; a longer value is not read.
constexpr qsizetype QueryBufferSize = 400;
constexpr qsizetype MaxTextCharacters = QueryBufferSize / 2 - 1;

// The value as the fixed-size query buffer holds it (zero-filled after the
// data), or nothing when it is missing or does not fit.
std::optional<QByteArray> query(const RegKeyValues &key, const QString &name)
{
    const RegValue *value = findRegValue(key, name);
    if (!value || value->data.size() > QueryBufferSize)
        return std::nullopt;
    QByteArray buffer = value->data;
    buffer.append(QueryBufferSize - buffer.size(), '\0');
    return buffer;
}

// Numbers take the first 4 bytes, whatever the stored type.
void readNumber(const RegKeyValues &key, const QString &name, qint32 &target)
{
    if (std::optional<QByteArray> buffer = query(key, name))
        target = qFromLittleEndian<qint32>(buffer->constData());
}

void readNumber(const RegKeyValues &key, const QString &name, quint32 &target)
{
    if (std::optional<QByteArray> buffer = query(key, name))
        target = qFromLittleEndian<quint32>(buffer->constData());
}

void readFlag(const RegKeyValues &key, const QString &name, bool &target)
{
    if (std::optional<QByteArray> buffer = query(key, name))
        target = qFromLittleEndian<quint32>(buffer->constData()) != 0;
}

void readInterval(const RegKeyValues &key, const QString &name, qint64 &target)
{
    if (std::optional<QByteArray> buffer = query(key, name))
        target = qFromLittleEndian<qint64>(buffer->constData());
}

// Texts are NUL-terminated UTF-16, so at most 199 characters fit the buffer.
void readText(const RegKeyValues &key, const QString &name, QString &target)
{
    std::optional<QByteArray> buffer = query(key, name);
    if (!buffer)
        return;
    QString text;
    for (qsizetype i = 0; i < MaxTextCharacters; ++i) {
        char16_t unit = qFromLittleEndian<quint16>(buffer->constData() + 2 * i);
        if (unit == 0)
            break;
        text += QChar(unit);
    }
    target = text;
}

void readScrambled(const RegKeyValues &key, const QString &name, QString &target)
{
    const RegValue *value = findRegValue(key, name);
    if (value && value->data.size() <= QueryBufferSize)
        target = unscramble(value->data);
}

void readLegacy(const RegKeyValues &key, LegacySettings &legacy)
{
    readText(key, u"MikrotikAddress"_s, legacy.MikrotikAddress);
    readText(key, u"MikrotikApiPort"_s, legacy.MikrotikApiPort);
    readScrambled(key, u"MikrotikUser"_s, legacy.MikrotikUser);
    readScrambled(key, u"MikrotikPassword"_s, legacy.MikrotikPassword);
    readScrambled(key, u"MikrotikCustomer"_s, legacy.MikrotikCustomer);
    readFlag(key, u"MacBinding"_s, legacy.MacBinding);
    readFlag(key, u"EnableUserManager"_s, legacy.EnableUserManager);
    readFlag(key, u"OneRouter"_s, legacy.OneRouter);
    readText(key, u"MikrotikHotSpotAddress"_s, legacy.MikrotikHotSpotAddress);
    readText(key, u"MikrotikHotSpotApiPort"_s, legacy.MikrotikHotSpotApiPort);
    readScrambled(key, u"MikrotikHotSpotUser"_s, legacy.MikrotikHotSpotUser);
    readScrambled(key, u"MikrotikHotSpotPassword"_s, legacy.MikrotikHotSpotPassword);
    readScrambled(key, u"UserName"_s, legacy.UserName);
    readScrambled(key, u"UserPassword"_s, legacy.UserPassword);
}

} // namespace

RegValue intervalValue(qint64 seconds)
{
    QByteArray data(8, '\0');
    qToLittleEndian(seconds, data.data());
    return binaryValue(data);
}

void loadSettings(const SettingsKey &key, AppSettings &settings, QList<AppUser> &users)
{
    const std::optional<RegKeyValues> values = key.read();
    settings.SettingsPresent = values.has_value();
    if (values) {
        const RegKeyValues &v = *values;
        // The user list is read whole, whatever its size.
        if (const RegValue *usersData = findRegValue(v, u"UsersData"_s))
            parseUsers(usersData->data, users);
        readText(v, u"GenerateUserPrefix"_s, settings.GenerateUserPrefix);
        readFlag(v, u"CreateRandomUserName"_s, settings.CreateRandomUserName);
        readFlag(v, u"UseUserDatabase"_s, settings.UseUserDatabase);
        readFlag(v, u"VerifyCreatedUser"_s, settings.VerifyCreatedUser);
        readFlag(v, u"CreateRandomPassword"_s, settings.CreateRandomPassword);
        readFlag(v, u"UseOnlyNumbers"_s, settings.UseOnlyNumbers);
        readFlag(v, u"QueryPassword"_s, settings.QueryPassword);
        readFlag(v, u"QueryUserData"_s, settings.QueryUserData);
        readText(v, u"GenerateHotSpotUserPrefix"_s, settings.GenerateHotSpotUserPrefix);
        readInterval(v, u"HotSpotScheduleInterval"_s, settings.HotSpotScheduleInterval);
        readFlag(v, u"MinimizeToTray"_s, settings.MinimizeToTray);
        readNumber(v, u"GenerateUserSize"_s, settings.GenerateUserSize);
        readText(v, u"UseCurrency"_s, settings.UseCurrency);
        readNumber(v, u"GeneratePasswordSize"_s, settings.GeneratePasswordSize);
        readNumber(v, u"VoucherSerial"_s, settings.VoucherSerial);
        readFlag(v, u"AutoPrint"_s, settings.AutoPrint);
        readFlag(v, u"PipelinedGeneration"_s, settings.PipelinedGeneration);
        readText(v, u"HistoryDatabase"_s, settings.HistoryDatabase);
        readLegacy(v, settings.Legacy);
    }

    // There is always a program user: the one of an old installation, or on a
    // first start an administrator with empty name and password.
    if (users.isEmpty()) {
        AppUser first;
        if (values) {
            first.Name = settings.Legacy.UserName;
            first.Password = settings.Legacy.UserPassword;
        }
        first.SettingsAccess = true;
        users.append(first);
    }
}

bool saveSettings(const SettingsKey &key, AppSettings &settings, const QList<AppUser> &users,
                  OperatorInteraction &interaction)
{
    const RegKeyValues values = {
        {u"UsersData"_s, binaryValue(serializeUsers(users))},
        {u"GenerateUserPrefix"_s, stringValue(settings.GenerateUserPrefix)},
        {u"CreateRandomUserName"_s, dwordValue(settings.CreateRandomUserName)},
        {u"UseUserDatabase"_s, dwordValue(settings.UseUserDatabase)},
        {u"VerifyCreatedUser"_s, dwordValue(settings.VerifyCreatedUser)},
        {u"CreateRandomPassword"_s, dwordValue(settings.CreateRandomPassword)},
        {u"UseOnlyNumbers"_s, dwordValue(settings.UseOnlyNumbers)},
        {u"QueryPassword"_s, dwordValue(settings.QueryPassword)},
        {u"QueryUserData"_s, dwordValue(settings.QueryUserData)},
        {u"GenerateHotSpotUserPrefix"_s, stringValue(settings.GenerateHotSpotUserPrefix)},
        {u"HotSpotScheduleInterval"_s, intervalValue(settings.HotSpotScheduleInterval)},
        {u"MinimizeToTray"_s, dwordValue(settings.MinimizeToTray)},
        {u"GenerateUserSize"_s, dwordValue(quint32(settings.GenerateUserSize))},
        {u"UseCurrency"_s, stringValue(settings.UseCurrency)},
        {u"GeneratePasswordSize"_s, dwordValue(quint32(settings.GeneratePasswordSize))},
        {u"VoucherSerial"_s, dwordValue(settings.VoucherSerial)},
        {u"HistoryDatabase"_s, stringValue(settings.HistoryDatabase)},
    };
    if (!key.write(values)) {
        interaction.showMessage(
            writeFailureText(
                QCoreApplication::translate("Settings", "Ocorreu um erro ao gravar no registro do windows."),
                key.filePath()),
            MessageIcon::Error);
        return false;
    }
    settings.SettingsPresent = true;
    return true;
}

void saveValue(const SettingsKey &key, const QString &name, const RegValue &value)
{
    key.write({{name, value}});
}

QList<RouterConfig> legacyRouters(const LegacySettings &legacy)
{
    RouterConfig a;
    a.Name = legacy.MikrotikAddress;
    a.Address = legacy.MikrotikAddress;
    a.Port = legacy.MikrotikApiPort;
    a.ApiUser = legacy.MikrotikUser;
    a.ApiPassword = legacy.MikrotikPassword;
    a.UserManagerAdmin = legacy.MikrotikCustomer;
    a.EnableUserManagerProfiles = legacy.EnableUserManager;
    a.MacBinding = legacy.MacBinding;
    a.EnableHotSpotProfiles = true;
    if (legacy.OneRouter)
        return {a};

    a.EnableHotSpotProfiles = false;
    RouterConfig b;
    b.Name = legacy.MikrotikHotSpotAddress;
    b.Address = legacy.MikrotikHotSpotAddress;
    b.Port = legacy.MikrotikHotSpotApiPort;
    b.ApiUser = legacy.MikrotikHotSpotUser;
    b.ApiPassword = legacy.MikrotikHotSpotPassword;
    b.EnableUserManagerProfiles = false;
    b.EnableHotSpotProfiles = true;
    b.MacBinding = false;
    return {a, b};
}
