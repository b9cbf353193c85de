#include "InstanceGuard.h"

#include "AppError.h"
#include "FileErrorCause.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vocab {

namespace {

QString reason(int error)
{
    return FileErrorCause(error);
}

// The folder of our own in the shared temporary folder, used when the session
// gives no runtime folder. Anyone may create names there, so it must be a real
// folder, not a link, owned by us, and closed to others; an existing one that
// is not is refused rather than used.
void ensurePrivateFolder(const QString &dir)
{
    const QByteArray path = QFile::encodeName(dir);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        throw FileError(QStringLiteral("Не удаётся создать папку \"%1\": %2").arg(dir, reason(errno)));
    struct stat st = {};
    if (::lstat(path.constData(), &st) != 0)
        throw FileError(QStringLiteral("Не удаётся открыть папку \"%1\": %2").arg(dir, reason(errno)));
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        throw FileError(QStringLiteral("Папка \"%1\" не принадлежит этому пользователю или не является папкой").arg(dir));
    if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0)
        throw FileError(QStringLiteral("Не удаётся закрыть папку \"%1\" от других пользователей: %2").arg(dir, reason(errno)));
}

[[noreturn]] void cannotOpen(const QString &path, int error)
{
    throw FileError(QStringLiteral("Не удаётся открыть файл блокировки \"%1\": %2").arg(path, reason(error)));
}

} // namespace

QString NamedInstanceGuard::lockPath(const QString &name)
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
        dir = QDir::tempPath() + QStringLiteral("/vocabulinarum-") + QString::number(::getuid());
        ensurePrivateFolder(dir);
    }
    return dir + u'/' + name + QStringLiteral(".lock");
}

std::unique_ptr<NamedInstanceGuard> NamedInstanceGuard::tryAcquire(const QString &name)
{
    const QString path = lockPath(name);
    // O_NOFOLLOW: a link planted under the lock's name is refused, never
    // followed to create or lock a file elsewhere.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        cannotOpen(path, errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return nullptr;
        throw FileError(QStringLiteral("Не удаётся заблокировать файл \"%1\": %2").arg(path, reason(error)));
    }
    return std::unique_ptr<NamedInstanceGuard>(new NamedInstanceGuard(fd));
}

bool NamedInstanceGuard::isHeld(const QString &name)
{
    const QByteArray path = QFile::encodeName(lockPath(name));
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

NamedInstanceGuard::~NamedInstanceGuard()
{
    ::close(m_fd);
}

} // namespace vocab
