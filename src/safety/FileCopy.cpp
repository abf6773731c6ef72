#include "safety/FileCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr size_t kKernelChunk = size_t(64) << 20;
constexpr size_t kBufferBytes = size_t(1) << 20;

class FileHandle
{
public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    int fd() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Closes now, so that a failing close (a late write error) is seen.
    bool close()
    {
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

QString systemError(const QString &path, int error = errno)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(error)));
}

QString ownError(const QString &path, const char *text)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), QCoreApplication::translate("FileCopy", text));
}

// A lock over the whole file that other programs' locks, SQLite's among them, respect: a
// read lock keeps writers out while the source is read, a write lock keeps everybody off the
// target. Open-file-description locks stay put when some other handle of this process closes.
bool lockWholeFile(int fd, short type)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

// Copies `size` bytes from the current offsets; in the kernel where the file systems allow it
// (as cp does), through a buffer otherwise.
QString copyContent(int in, int out, off_t size, const QString &source, const QString &target)
{
    bool inKernel = true;
    std::vector<char> buffer;
    off_t done = 0;
    while (done < size) {
        const size_t chunk = size_t(std::min<off_t>(size - done, off_t(inKernel ? kKernelChunk : kBufferBytes)));
        if (inKernel) {
            const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, chunk, 0);
            if (copied > 0) {
                done += copied;
                continue;
            }
            if (copied < 0 && errno == EINTR)
                continue;
            if (copied < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                inKernel = false;
                continue;
            }
            if (copied < 0)
                return systemError(target);
            return ownError(source, "文件在复制过程中变短了");
        }
        buffer.resize(kBufferBytes);
        const ssize_t read = ::read(in, buffer.data(), chunk);
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            return systemError(source);
        if (read == 0)
            return ownError(source, "文件在复制过程中变短了");
        if (!writeAll(out, buffer.data(), size_t(read)))
            return systemError(target);
        done += read;
    }
    return {};
}

// Writes the copy into `out` and flushes it; the error is empty on success.
QString fillAndFlush(int in, FileHandle &out, off_t size, const QString &source, const QString &target, bool regular)
{
    QString error = copyContent(in, out.fd(), size, source, target);
    if (error.isEmpty() && regular && ::fsync(out.fd()) != 0)
        error = systemError(target);
    if (!out.close() && error.isEmpty())
        error = systemError(target);
    return error;
}

} // namespace

FileResult copyFileBytes(const QString &source, const QString &target)
{
    const QByteArray sourcePath = QFile::encodeName(source);
    const QByteArray targetPath = QFile::encodeName(target);

    // Without blocking: a named pipe chosen by mistake must fail, not hang the window.
    FileHandle in(::open(sourcePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!in.isOpen())
        return FileResult::failure(systemError(source));
    struct stat from {};
    if (::fstat(in.fd(), &from) != 0)
        return FileResult::failure(systemError(source));
    if (!S_ISREG(from.st_mode))
        return FileResult::failure(ownError(source, "不是一个文件"));
    if (!lockWholeFile(in.fd(), F_RDLCK))
        return FileResult::failure(ownError(source, "文件正被其他程序使用"));

    // An existing target is opened without truncating, so that the source itself, reached
    // under another name, is recognised before a byte of it is lost.
    FileHandle existing(::open(targetPath.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (!existing.isOpen() && errno != ENOENT)
        return FileResult::failure(systemError(target));
    struct stat to {};
    if (existing.isOpen() && ::fstat(existing.fd(), &to) != 0)
        return FileResult::failure(systemError(target));
    if (existing.isOpen() && to.st_dev == from.st_dev && to.st_ino == from.st_ino)
        return FileResult::failure(ownError(target, "目标文件就是源文件本身"));

    // A device or a pipe is written as it is.
    if (existing.isOpen() && !S_ISREG(to.st_mode)) {
        const QString error = fillAndFlush(in.fd(), existing, from.st_size, source, target, false);
        return error.isEmpty() ? FileResult::success() : FileResult::failure(error);
    }
    if (existing.isOpen() && !lockWholeFile(existing.fd(), F_WRLCK))
        return FileResult::failure(ownError(target, "文件正被其他程序使用"));

    // A file is written beside the target and renamed over it when complete: a copy cut
    // short, by an error or a killed program, never leaves a part of a backup under a backup's
    // name, nor costs the older file of that name.
    const QByteArray partPath = targetPath + ".part";
    FileHandle out(::open(partPath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!out.isOpen())
        return FileResult::failure(systemError(target));
    if (!lockWholeFile(out.fd(), F_WRLCK))
        return FileResult::failure(ownError(target, "文件正被其他程序使用"));
    QString error = fillAndFlush(in.fd(), out, from.st_size, source, target, true);
    if (error.isEmpty() && ::rename(partPath.constData(), targetPath.constData()) != 0)
        error = systemError(target);
    if (!error.isEmpty()) {
        ::unlink(partPath.constData());
        return FileResult::failure(error);
    }
    syncFolder(QFileInfo(target).absolutePath());
    return FileResult::success();
}

bool isSameFile(const QString &first, const QString &second)
{
    struct stat a {};
    struct stat b {};
    return ::stat(QFile::encodeName(first).constData(), &a) == 0 && ::stat(QFile::encodeName(second).constData(), &b) == 0
           && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void syncFolder(const QString &folder)
{
    FileHandle dir(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.isOpen())
        ::fsync(dir.fd()); // some file systems cannot sync a folder; the file itself is synced already
}

ExclusiveFileLock::ExclusiveFileLock(const QString &path)
    : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC))
{
    m_held = m_fd >= 0 ? lockWholeFile(m_fd, F_WRLCK) : errno == ENOENT;
}

ExclusiveFileLock::~ExclusiveFileLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}
