#include "AtomicFileWrite.h"

#include "AppError.h"
#include "FileErrorCause.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vocab {

namespace {

[[noreturn]] void fail(const char16_t *what, const QString &path, int errorNumber)
{
    throw FileError(QString::fromUtf16(what).arg(path, FileErrorCause(errorNumber)), path);
}

// Whether the regular file at `target` holds exactly `bytes`. Any doubt
// (no such file, another size, a read that fails) answers no.
bool holdsAlready(const QByteArray &target, const QByteArray &bytes)
{
    struct stat st = {};
    if (::stat(target.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size != off_t(bytes.size()))
        return false;
    const int fd = ::open(target.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    QByteArray held(bytes.size(), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < held.size()) {
        const ssize_t n = ::read(fd, held.data() + got, size_t(held.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    char extra = 0;
    const bool atEnd = got == held.size() && ::read(fd, &extra, 1) == 0;
    ::close(fd);
    return atEnd && held == bytes;
}

// Writes all of `bytes` to `fd`; the error of the write that failed, or 0.
int writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        p += n;
        left -= n;
    }
    return 0;
}

} // namespace

void WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    // A link stays a link: the file it points to is the one replaced.
    const QFileInfo info(path);
    const QString targetPath = info.isSymLink() ? info.symLinkTarget() : path;
    const QByteArray target = QFile::encodeName(targetPath);
    if (holdsAlready(target, bytes))
        return;

    struct stat old = {};
    const bool replacing = ::stat(target.constData(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode))
        fail(u"Не удаётся записать файл \"%1\": %2", path, EISDIR);

    // The new text goes to a name of its own beside the target, so that the
    // rename stays on one file system; the mode asked for is the one a new
    // file gets (the umask applies), and an old file's mode is copied.
    const QString dir = QFileInfo(targetPath).absolutePath();
    const QString stem = dir + QStringLiteral("/.") + QFileInfo(targetPath).fileName() + QStringLiteral(".tmp-");
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temp = QFile::encodeName(stem + QString::number(QRandomGenerator::global()->generate64(), 36));
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 100))
            fail(u"Не удаётся создать файл \"%1\": %2", path, errno);
    }
    const auto discard = [&](const char16_t *what, int errorNumber) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.constData());
        fail(what, path, errorNumber);
    };
    if (replacing && ::fchmod(fd, old.st_mode & 07777) != 0)
        discard(u"Не удаётся записать файл \"%1\": %2", errno);
    if (const int error = writeAll(fd, bytes))
        discard(u"Не удаётся записать файл \"%1\": %2", error);
    // A disk that takes the bytes into its cache may still refuse them when
    // they are written out: that must be known before the old file goes.
    if (::fsync(fd) != 0 && errno != EINVAL)
        discard(u"Не удаётся записать файл \"%1\": %2", errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 && errno != EINTR)
        discard(u"Не удаётся записать файл \"%1\": %2", errno);
    if (::rename(temp.constData(), target.constData()) != 0)
        discard(u"Не удаётся заменить файл \"%1\": %2", errno);
}

} // namespace vocab
