#pragma once

#include "regvalue.h"

#include <QString>
#include <optional>

// The per-user settings key HKEY_CURRENT_USER\SOFTWARE\Talpa Systems\wifiTicketer,
// kept in one registry-export file. Reading never creates anything. Writing
// creates the folder, keeps every value already in the key (those this program
// does not know included) and replaces the file atomically, readable by its
// owner only: it holds the program users' scrambled passwords.
class SettingsKey
{
public:
    explicit SettingsKey(QString filePath);

    const QString &filePath() const { return m_filePath; }

    // The key's values, or nothing when the key does not exist.
    std::optional<RegKeyValues> read() const;
    // Sets these values in the key, creating it when missing. False when the key
    // could not be created or the file could not be written; then nothing changed.
    bool write(const RegKeyValues &values) const;

private:
    QString m_filePath;
};

extern const QString SettingsKeyPath;
