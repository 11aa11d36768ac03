#pragma once

#include <QIODevice>
#include <QString>
#include <functional>

// How a list file of the data folder (Routers.bin, HotSpotProfiles.bin,
// UserDatabase.bin, Voucher.bin) read. Such a file is saved whole from its
// list, so one that did not read whole must never be saved over: what could
// not be read would be lost with it.
enum class ListFileState
{
    Absent, // no file, or an empty one: nothing to lose
    Whole,  // read to its end, every byte understood or skipped on purpose
    Damaged // it cannot be opened, or its reader stopped before its end
};

// Opens the file at `path` and hands it to `read`, which appends what it reads
// to its list and returns whether the stream read whole.
ListFileState readListFile(const QString &path, const std::function<bool(QIODevice &)> &read);

// Whether reading has come to the device's end. A file's size is known: a read
// that failed before it leaves the position short of it. A stream ends when
// nothing more comes.
bool readToEnd(const QIODevice &device);
