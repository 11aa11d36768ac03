#include "voucherserial.h"

#include "base/regvalue.h"
#include "base/settingskey.h"

#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype QueryBufferSize = 400;
const QString ValueName = u"VoucherSerial"_s;

} // namespace

std::optional<quint32> readVoucherSerial(const SettingsKey &key)
{
    const std::optional<RegKeyValues> values = key.read();
    const RegValue *value = values ? findRegValue(*values, ValueName) : nullptr;
    if (!value || value->data.size() > QueryBufferSize)
        return std::nullopt;
    // Zero-filled after the data, as the query buffer holds a short value.
    QByteArray buffer = value->data;
    buffer.append(4, '\0');
    return qFromLittleEndian<quint32>(buffer.constData());
}

bool writeVoucherSerial(const SettingsKey &key, quint32 next)
{
    return key.write({{ValueName, dwordValue(next)}});
}

StoredVoucherSerial readStoredVoucherSerial(const SettingsKey &key)
{
    QStringList damaged;
    const std::optional<RegKeyValues> values = key.read(&damaged);
    if (damaged.contains(ValueName, Qt::CaseInsensitive))
        return {StoredVoucherSerial::State::Unreadable, 0};
    const RegValue *value = values ? findRegValue(*values, ValueName) : nullptr;
    if (!value)
        return {StoredVoucherSerial::State::Missing, 0};
    if (value->type != RegDWord || value->data.size() != 4)
        return {StoredVoucherSerial::State::Unreadable, 0};
    return {StoredVoucherSerial::State::Held, qFromLittleEndian<quint32>(value->data.constData())};
}
