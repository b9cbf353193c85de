#include "FileErrorCause.h"

#include <QFileDevice>

#include <array>
#include <cerrno>
#include <cstring>

namespace vocab {

namespace {

struct Cause {
    int errorNumber;
    const char16_t *text;
    // Qt's own words for this error, which it uses whatever the locale; null
    // where it takes the system's.
    const char *qtText;
};

constexpr std::array<Cause, 10> Causes{{
    {ENOSPC, u"на диске нет места", "No space left on device"},
    {EDQUOT, u"превышена дисковая квота", nullptr},
    {EACCES, u"нет прав доступа", "Permission denied"},
    {EPERM, u"действие запрещено", nullptr},
    {EROFS, u"файловая система доступна только для чтения", nullptr},
    {ENOENT, u"нет такого файла или папки", "No such file or directory"},
    // Qt looks before it opens: a folder where a file should be never
    // reaches the system call, and Qt says so in words of its own.
    {EISDIR, u"это папка, а не файл", "file to open is a directory"},
    {EIO, u"ошибка ввода-вывода", nullptr},
    {EFBIG, u"файл слишком велик", nullptr},
    {EMFILE, u"открыто слишком много файлов", "Too many open files"},
}};

QString systemText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

} // namespace

QString FileErrorCause(int errorNumber)
{
    for (const Cause &cause : Causes)
        if (cause.errorNumber == errorNumber)
            return QString::fromUtf16(cause.text);
    return systemText(errorNumber);
}

QString FileErrorCause(const QFileDevice &file)
{
    const QString text = file.errorString();
    for (const Cause &cause : Causes)
        if (text == systemText(cause.errorNumber) || (cause.qtText && text == QLatin1String(cause.qtText)))
            return QString::fromUtf16(cause.text);
    return text;
}

} // namespace vocab
