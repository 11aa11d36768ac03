#include "atomicfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// QSaveFile is not used: it follows a symbolic link to the file it points to,
// and writes that file's folder and mode. The file is written here with POSIX
// calls that never follow one.

namespace {

constexpr mode_t OwnerOnlyMode = 0600;
// For a new file, as the process's umask leaves it.
constexpr mode_t NewFileMode = 0666;
constexpr int NameAttempts = 100;

bool isSymbolicLink(const QByteArray &path)
{
    struct stat info
    {
    };
    return ::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

// A new file beside the target, created here (O_EXCL: never an existing file
// or a link) with `mode`; its name goes to `name`. -1 when none can be made.
int createTemporary(const QByteArray &target, mode_t mode, QByteArray &name)
{
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        name = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        // A full disk or a file size limit shows as a short write, then an error.
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// The temporary file's bytes and mode are final and on the disk before the
// rename makes them the file's.
bool finish(int fd, const QByteArray &bytes, bool setMode, mode_t mode)
{
    if (!writeAll(fd, bytes))
        return false;
    // The umask may have taken bits from the mode the file was made with.
    if (setMode && ::fchmod(fd, mode) != 0)
        return false;
    // A file system that cannot sync (EINVAL) has nothing more to write.
    return ::fdatasync(fd) == 0 || errno == EINVAL;
}

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes, FileAccess access)
{
    if (path.isEmpty())
        return false;
    const QByteArray target = QFile::encodeName(path);
    struct stat old
    {
    };
    const bool exists = ::lstat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists && !S_ISREG(old.st_mode))
        return false;

    // The temporary file is made owner-only (a new Default file: with the mode
    // of any new file), so what it holds is never readable by others before
    // it gets its final mode.
    bool setMode = true;
    mode_t mode = OwnerOnlyMode;
    if (access == FileAccess::Default) {
        if (exists)
            mode = old.st_mode & 0777;
        else
            setMode = false; // made with NewFileMode under the umask, as any new file
    }
    QByteArray temporary;
    const int fd = createTemporary(target, setMode ? OwnerOnlyMode : NewFileMode, temporary);
    if (fd < 0)
        return false;
    const bool written = finish(fd, bytes, setMode, mode);
    // A write error may only show when the file is closed (a network file system).
    const bool closed = ::close(fd) == 0;
    // rename() replaces whatever is at `path` by then, a link made there since
    // the check above included, without following it.
    if (written && closed && ::rename(temporary.constData(), target.constData()) == 0)
        return true;
    ::unlink(temporary.constData());
    return false;
}

QString writeFailureText(const QString &failure, const QString &path)
{
    if (!isSymbolicLink(QFile::encodeName(path)))
        return failure;
    return failure + u'\n' +
           QCoreApplication::translate("Files",
                                       "O arquivo %1 é um link simbólico e não foi alterado: o programa "
                                       "não grava através de links. Coloque o próprio arquivo no lugar "
                                       "do link.")
               .arg(QDir::toNativeSeparators(path));
}
