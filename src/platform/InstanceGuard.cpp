#include "InstanceGuard.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vocab {

QString NamedInstanceGuard::lockPath(const QString &name)
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::tempPath() + QStringLiteral("/vocabulinarum-") + QString::number(getuid());
    QDir().mkpath(dir);
    return dir + u'/' + name + QStringLiteral(".lock");
}

std::unique_ptr<NamedInstanceGuard> NamedInstanceGuard::tryAcquire(const QString &name)
{
    const QByteArray path = QFile::encodeName(lockPath(name));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<NamedInstanceGuard>(new NamedInstanceGuard(fd));
}

bool NamedInstanceGuard::isHeld(const QString &name)
{
    const QByteArray path = QFile::encodeName(lockPath(name));
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
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
