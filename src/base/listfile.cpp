#include "listfile.h"

#include <QFile>

ListFileState readListFile(const QString &path, const std::function<bool(QIODevice &)> &read)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        // A file there that cannot be opened (no permission, a folder) may
        // still be the only copy of the list.
        return file.exists() ? ListFileState::Damaged : ListFileState::Absent;
    if (file.size() == 0)
        return ListFileState::Absent;
    return read(file) ? ListFileState::Whole : ListFileState::Damaged;
}

bool readToEnd(const QIODevice &device)
{
    return device.isSequential() ? device.atEnd() : device.pos() >= device.size();
}
