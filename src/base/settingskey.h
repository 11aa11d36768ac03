#pragma once

#include "regvalue.h"

#include <QString>
#include <QStringList>
#include <optional>

// The per-user settings key HKEY_CURRENT_USER\SOFTWARE\Talpa Systems\wifiTicketer,
// kept in one registry-export file. Reading never creates anything. Writing
// creates the folder, keeps everything already in the file (values this
// program does not know, other keys, comments, lines it cannot read, the
// file's encoding) and replaces the file atomically, readable by its owner
// only: it holds the program users' scrambled passwords. A file that is there
// but cannot be read, is larger than MaxRegFileSize or is not recognised as a
// registry export is never replaced, and no file larger than MaxRegFileSize is
// written.
class SettingsKey
{
public:
    explicit SettingsKey(QString filePath);

    // The key's values, or nothing when the key does not exist. `damaged`, when
    // given, gets the names of values whose line in the file cannot be read
    // (see RegFile::damagedValues), from the same reading of the file.
    std::optional<RegKeyValues> read(QStringList *damaged = nullptr) const;
    // Sets these values in the key, creating it when missing. False when the key
    // could not be created, the file is one that is never replaced, or it could
    // not be written; then nothing changed.
    bool write(const RegKeyValues &values) const;
    // The file is there but is one that is never replaced: it cannot be read
    // whole, is too large or is not understood as a registry export. Nothing
    // is read from it.
    bool isUnreadable() const;
    const QString &filePath() const { return m_filePath; }

private:
    QString m_filePath;
};

extern const QString SettingsKeyPath;
