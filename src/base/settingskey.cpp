#include "settingskey.h"

#include "atomicfile.h"
#include "paths.h"
#include "regfile.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

const QString SettingsKeyPath = u"HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer"_s;

namespace {

enum class FileRead
{
    Missing,
    Read,
    Failed // there, but unreadable or over the size limit
};

FileRead readSettingsFile(const QString &path, QByteArray &bytes)
{
    QFile file(path);
    if (!file.exists())
        return FileRead::Missing;
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxRegFileSize)
        return FileRead::Failed;
    bytes = file.readAll();
    if (bytes.size() != file.size())
        return FileRead::Failed;
    return FileRead::Read;
}

} // namespace

SettingsKey::SettingsKey(QString filePath) : m_filePath(std::move(filePath)) {}

std::optional<RegKeyValues> SettingsKey::read(QStringList *damaged) const
{
    if (damaged)
        damaged->clear();
    QByteArray bytes;
    if (m_filePath.isEmpty() || readSettingsFile(m_filePath, bytes) != FileRead::Read)
        return std::nullopt;
    const RegFile file(bytes);
    if (damaged)
        *damaged = file.damagedValues(SettingsKeyPath);
    return file.keyValues(SettingsKeyPath);
}

bool SettingsKey::isUnreadable() const
{
    QByteArray bytes;
    if (m_filePath.isEmpty())
        return false;
    switch (readSettingsFile(m_filePath, bytes)) {
    case FileRead::Missing:
        return false;
    case FileRead::Failed:
        return true;
    case FileRead::Read:
        break;
    }
    return !RegFile(bytes).isRecognised();
}

bool SettingsKey::write(const RegKeyValues &values) const
{
    if (m_filePath.isEmpty() || !ensureFolder(QFileInfo(m_filePath).absolutePath()))
        return false;
    // A file that cannot be read whole, or not understood as a registry export,
    // is not replaced: what it holds would be lost.
    QByteArray bytes;
    if (readSettingsFile(m_filePath, bytes) == FileRead::Failed)
        return false;
    RegFile file(bytes);
    if (!file.setValues(SettingsKeyPath, values))
        return false;
    // Nor is a file written that could not be read back.
    const QByteArray changed = file.toBytes();
    if (changed.size() > MaxRegFileSize)
        return false;
    return writeFileAtomically(m_filePath, changed, FileAccess::OwnerOnly);
}
