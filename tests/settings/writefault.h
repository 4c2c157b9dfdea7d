#pragma once

#include "support/files.h"

#include <QFile>
#include <QString>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <linux/fs.h>
#endif

// Ways to make writing a file fail, also for root (tests and CI run as root, and root may write
// into a read-only folder). Each undoes itself when it goes out of scope.
namespace WriteFault {

// A full disk: while it lives, no regular file of this process can grow beyond `bytes` (writes
// beyond fail with "File too large" instead of the signal that would end the process).
class FileSizeLimit
{
public:
    explicit FileSizeLimit([[maybe_unused]] quint64 bytes)
    {
#ifdef Q_OS_UNIX
        if (getrlimit(RLIMIT_FSIZE, &m_old) == 0) {
            m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit limited = m_old;
            limited.rlim_cur = rlim_t(bytes);
            m_active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
        }
#endif
    }
    ~FileSizeLimit()
    {
#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
#endif
    }
    Q_DISABLE_COPY_MOVE(FileSizeLimit)
    bool isActive() const
    {
        return m_active;
    }

private:
    bool m_active = false;
#ifdef Q_OS_UNIX
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
#endif
};

// A folder nothing can be created in: without write permission for an ordinary user, marked
// immutable for root (on file systems that have the mark). isReadOnly() says whether it worked.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &folder)
        : m_folder(folder)
    {
#ifdef Q_OS_UNIX
        m_chmod = geteuid() != 0 && chmod(QFile::encodeName(folder).constData(), 0555) == 0;
#endif
#ifdef Q_OS_LINUX
        m_fd = geteuid() == 0 ? open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY) : -1;
        m_immutable = setImmutable(true);
#endif
    }
    ~ReadOnlyFolder()
    {
#ifdef Q_OS_UNIX
        if (m_chmod) {
            chmod(QFile::encodeName(m_folder).constData(), 0755);
        }
#endif
#ifdef Q_OS_LINUX
        if (m_immutable) {
            setImmutable(false);
        }
        if (m_fd >= 0) {
            close(m_fd);
        }
#endif
    }
    Q_DISABLE_COPY_MOVE(ReadOnlyFolder)

    // Whether a new file really cannot be made in the folder.
    bool isReadOnly() const
    {
        QFile probe(m_folder + QLatin1String("/probe"));
        const bool created = probe.open(QIODevice::WriteOnly);
        probe.remove();
        return !created;
    }

private:
#ifdef Q_OS_LINUX
    bool setImmutable(bool on) const
    {
        int flags = 0;
        if (m_fd < 0 || ioctl(m_fd, FS_IOC_GETFLAGS, &flags) != 0) {
            return false;
        }
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        return ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
#endif
    QString m_folder;
    bool m_chmod = false;
    bool m_immutable = false;
    int m_fd = -1;
};

} // namespace WriteFault
