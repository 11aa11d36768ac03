#include "settingskey.h"

#include "atomicfile.h"
#include "paths.h"
#include "regfile.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

const QString SettingsKeyPath = u"HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer"_s;

namespace {

// A settings key is a few kilobytes; a file far larger than that is not ours to
// read into memory.
constexpr qint64 MaxSettingsFileSize = 16 * 1024 * 1024;

} // namespace

SettingsKey::SettingsKey(QString filePath) : m_filePath(std::move(filePath)) {}

std::optional<RegKeyValues> SettingsKey::read() const
{
    if (m_filePath.isEmpty())
        return std::nullopt;
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxSettingsFileSize)
        return std::nullopt;
    return parseRegFile(file.readAll(), SettingsKeyPath);
}

bool SettingsKey::write(const RegKeyValues &values) const
{
    if (m_filePath.isEmpty() || !ensureFolder(QFileInfo(m_filePath).absolutePath()))
        return false;
    // A file that exists but cannot be read is not replaced: its values would be lost.
    if (QFileInfo::exists(m_filePath) && !QFile(m_filePath).open(QIODevice::ReadOnly))
        return false;
    RegKeyValues key = read().value_or(RegKeyValues{});
    for (const NamedRegValue &v : values)
        setRegValue(key, v.name, v.value);
    return writeFileAtomically(m_filePath, formatRegFile(SettingsKeyPath, key), FileAccess::OwnerOnly);
}
