#pragma once

#include <QLockFile>
#include <QString>

// Holds a list file of the data folder (Routers.bin, HotSpotProfiles.bin)
// while a command reads, changes and writes it, so that two commands changing
// it at once do not undo each other's change. The lock file goes with the
// object.
class ListFileLock
{
public:
    ListFileLock(const QString &dataFolder, const QString &fileName);
    // False, with the reason written to standard error, when the folder cannot
    // be had or another command keeps the file for longer than a few seconds.
    bool lock();

private:
    QString m_dataFolder;
    QString m_fileName;
    QLockFile m_lock;
};
