#pragma once

#include <QByteArray>
#include <QString>

enum class FileAccess
{
    Default,
    OwnerOnly
};

// Replaces the file with `bytes` through a temporary file in the same folder and
// a rename, so a failed or interrupted write leaves the old file as it was.
// OwnerOnly files (those holding passwords) are readable by their owner only,
// from the moment the temporary file exists. False when anything failed.
bool writeFileAtomically(const QString &path, const QByteArray &bytes,
                         FileAccess access = FileAccess::Default);
