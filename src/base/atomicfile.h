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
// OwnerOnly files (those holding passwords or sales) are readable by their owner
// only, from the moment the temporary file exists, also when the file they
// replace had another mode; Default files keep the mode of the file they
// replace (a new one gets the usual mode for new files).
//
// A symbolic link at `path` is refused: it is neither written through (the
// file it points to, maybe in another folder, would change) nor replaced
// (the operator put it there). So is anything else that is no plain file.
// False when anything failed or was refused (writeFailureText() says why).
bool writeFileAtomically(const QString &path, const QByteArray &bytes,
                         FileAccess access = FileAccess::Default);

// What the operator is told when replacing `path` failed: `failure` (the
// caller's own text), followed by the reason when the file is a symbolic
// link, naming it.
QString writeFailureText(const QString &failure, const QString &path);
