#include "ReadOnlyFolder.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

ReadOnlyFolder::ReadOnlyFolder(const QString &path)
    : m_path(path)
{
    QDir().mkpath(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
    if (::geteuid() == 0)
        setImmutable(true);
    QFile probe(QDir(path).filePath(QStringLiteral("probe")));
    m_readOnly = !probe.open(QIODevice::WriteOnly);
    if (!m_readOnly)
        probe.remove();
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (::geteuid() == 0)
        setImmutable(false);
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void ReadOnlyFolder::setImmutable(bool on)
{
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    ::close(fd);
}
