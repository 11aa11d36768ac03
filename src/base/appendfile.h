#pragma once

#include <QByteArray>
#include <QString>

// A file that only grows, such as a journal: opened for appending without
// following a symbolic link, created owner-only (0600) when missing, and made
// owner-only when it exists with another mode (its lines may hold passwords).
// A link, or anything that is no plain file, is refused. The file closes with
// the object.
class AppendFile
{
public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile &) = delete;
    AppendFile &operator=(const AppendFile &) = delete;

    // False when the file cannot be had as described above; an open file is
    // closed first.
    bool open(const QString &path);
    bool isOpen() const { return m_fd >= 0; }
    void close();

    // Writes the bytes at the end of the file. All or nothing: when not every
    // byte could be written (a full disk), the file is cut back to its size
    // before, so no partial line stays behind; false then. This assumes one
    // writer at a time, which the caller sees to (the data folder's run lock).
    bool append(const QByteArray &bytes);
    // What was appended is on the disk.
    bool sync();
    // The file's size now; -1 when it cannot be told.
    qint64 size() const;
    // Cuts the file to `size` bytes (what follows was never meant to be
    // there: a change cut off while it was written).
    bool truncate(qint64 size);

private:
    int m_fd = -1;
};
