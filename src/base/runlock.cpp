#include "runlock.h"

#include "paths.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

using namespace Qt::StringLiterals;

QString runLockPath(const QString &dataFolder)
{
    return dataFolder.isEmpty() ? QString() : QDir(dataFolder).filePath(u"wifiTicketer.lock"_s);
}

RunLock::RunLock(const QString &dataFolder)
{
    const QString path = runLockPath(dataFolder);
    if (path.isEmpty())
        return;
    m_file = std::make_unique<QLockFile>(path);
    // A run may take minutes over a slow link: the lock is never stale by age,
    // only when the process that holds it is gone.
    m_file->setStaleLockTime(0);
}

RunLock::~RunLock() = default;

RunLock::Outcome RunLock::acquire(int timeoutMs)
{
    if (!m_file || m_file->isLocked())
        return Outcome::Held;
    if (!ensureFolder(QFileInfo(m_file->fileName()).absolutePath()))
        return Outcome::Unavailable;
    if (m_file->tryLock(timeoutMs))
        return Outcome::Held;
    return m_file->error() == QLockFile::LockFailedError ? Outcome::Busy : Outcome::Unavailable;
}

void RunLock::release()
{
    if (m_file)
        m_file->unlock();
}

bool RunLock::isHeld() const
{
    return m_file && m_file->isLocked();
}
