#include "atomicfile.h"

#include <QSaveFile>

bool writeFileAtomically(const QString &path, const QByteArray &bytes, FileAccess access)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (access == FileAccess::OwnerOnly
        && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
