#include "runlock.h"

#include "paths.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

using namespace Qt::StringLiterals;

namespace {

// How long a lock file may stay without its owner's id before it is taken
// for one left by a process that died while making it.
constexpr qint64 OwnerlessLockMs = 3000;

} // namespace

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
    if (m_file->tryLock(0))
        return Outcome::Held;
    if (m_file->error() == QLockFile::LockFailedError && takeOverOwnerless() && m_file->tryLock(0))
        return Outcome::Held;
    if (timeoutMs > 0 && m_file->tryLock(timeoutMs))
        return Outcome::Held;
    // The wait may have made an ownerless lock old enough to take over.
    if (m_file->error() == QLockFile::LockFailedError && takeOverOwnerless() && m_file->tryLock(0))
        return Outcome::Held;
    return m_file->error() == QLockFile::LockFailedError ? Outcome::Busy : Outcome::Unavailable;
}

bool RunLock::takeOverOwnerless()
{
    // A process killed between creating the lock file and writing its id
    // into it leaves a lock nobody can tell the owner of, which would keep
    // every later run out for ever. Its owner writes the id at once, so one
    // that has stayed unreadable for a while has no owner left.
    qint64 pid = 0;
    QString host;
    QString app;
    const QFileInfo lock(m_file->fileName());
    return !m_file->getLockInfo(&pid, &host, &app) && lock.exists() &&
           lock.lastModified().msecsTo(QDateTime::currentDateTime()) > OwnerlessLockMs &&
           m_file->removeStaleLockFile();
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
