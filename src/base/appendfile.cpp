#include "appendfile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t OwnerOnlyMode = 0600;

} // namespace

AppendFile::~AppendFile()
{
    close();
}

bool AppendFile::open(const QString &path)
{
    close();
    if (path.isEmpty())
        return false;
    // O_NOFOLLOW: a link fails to open (ELOOP) rather than being followed.
    // O_NONBLOCK: a FIFO put there does not hang the open; it is refused below.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, OwnerOnlyMode);
    if (fd < 0)
        return false;
    struct stat info
    {
    };
    const bool plain = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    // Created under the umask, or there before with another mode.
    if (!plain || ((info.st_mode & 0777) != OwnerOnlyMode && ::fchmod(fd, OwnerOnlyMode) != 0)) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void AppendFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool AppendFile::append(const QByteArray &bytes)
{
    if (m_fd < 0)
        return false;
    struct stat before
    {
    };
    if (::fstat(m_fd, &before) != 0)
        return false;
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // With one writer, the size before is where these bytes began.
            [[maybe_unused]] const int cut = ::ftruncate(m_fd, before.st_size);
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

qint64 AppendFile::size() const
{
    struct stat info
    {
    };
    return m_fd >= 0 && ::fstat(m_fd, &info) == 0 ? qint64(info.st_size) : -1;
}

bool AppendFile::truncate(qint64 size)
{
    return m_fd >= 0 && ::ftruncate(m_fd, off_t(size)) == 0;
}

bool AppendFile::sync()
{
    return m_fd >= 0 && (::fdatasync(m_fd) == 0 || errno == EINVAL);
}
