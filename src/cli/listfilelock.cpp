#include "listfilelock.h"

#include "base/paths.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

ListFileLock::ListFileLock(const QString &dataFolder, const QString &fileName)
    : m_dataFolder(dataFolder), m_fileName(fileName), m_lock(dataFolder + u'/' + fileName + u".lock"_s)
{
}

bool ListFileLock::lock()
{
    if (m_dataFolder.isEmpty() || !ensureFolder(m_dataFolder)) {
        QTextStream(stderr) << u"wifiticketer-cli: the data folder '%1' cannot be created; check "
                               "WIFITICKETER_DATA_DIR and the folder's permissions\n"_s.arg(m_dataFolder);
        return false;
    }
    if (m_lock.tryLock(5000))
        return true;
    QTextStream(stderr) << u"wifiticketer-cli: %1 is being changed by another command; try again when it has "
                           "finished\n"_s.arg(m_fileName);
    return false;
}
