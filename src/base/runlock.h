#pragma once

#include <QString>
#include <memory>

class QLockFile;

// The data folder's run lock, held while a generation run takes serial numbers
// and writes the pending file and PosHistory.bin, so that runs of several
// processes on one data folder (the windows and a script, two counters) never
// interleave. The lock of a process that died is taken over.
class RunLock
{
public:
    explicit RunLock(const QString &dataFolder);
    ~RunLock();
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;

    enum class Outcome
    {
        Held,       // this object holds the lock (or there is no data folder to guard)
        Busy,       // another run still holds it after the wait
        Unavailable // the lock file cannot be made: the data folder is missing or read-only
    };
    // Waits up to `timeoutMs` for the lock.
    Outcome acquire(int timeoutMs);
    void release();
    bool isHeld() const;

private:
    // Removes a lock file that has stayed without its owner's id; true when
    // it did.
    bool takeOverOwnerless();

    std::unique_ptr<QLockFile> m_file;
};

// "wifiTicketer.lock" in the data folder; empty when there is no data folder.
QString runLockPath(const QString &dataFolder);
