#include "DictionaryDeletion.h"

#include "DictPath.h"
#include "MessageBoxes.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

namespace vocab {

bool DirectoryEntryRemover::remove(int dirFd, const char *name, bool directory) const
{
    return ::unlinkat(dirFd, name, directory ? AT_REMOVEDIR : 0) == 0;
}

unsigned long long DirectoryEntryRemover::device(int, const char *, const struct stat &st) const
{
    return st.st_dev;
}

QString CannotDeleteDictionaryMessage(const QString &displayName)
{
    return QStringLiteral("Не удается удалить словарь") + QStringLiteral("\r\n") + displayName + u'.' + QStringLiteral("\r\n")
        + QStringLiteral("Попробуйте запустить Vocabulinarum с правами администратора.");
}

QString NoDictionaryFolderMessage(const QString &displayName)
{
    return QStringLiteral("Словарь ") + displayName
        + QStringLiteral(" не удален: в списке словарей не указана его папка в каталоге dic.");
}

QString ForeignDictionaryFolderMessage(const QString &displayName)
{
    return QStringLiteral("Словарь ") + displayName
        + QStringLiteral(" не удален: программа запущена не из своей папки, и в ее каталоге dic лежит другая папка словаря.");
}

QString MissingDictionaryFolderMessage(const QString &displayName)
{
    return QStringLiteral("Словарь ") + displayName
        + QStringLiteral(" не удален: программа запущена не из своей папки, а в ее каталоге dic нет папки этого словаря.");
}

bool DeletesAnotherFolder(const QString &target, const QString &readFrom)
{
    const QFileInfo read(readFrom);
    if (readFrom.isEmpty() || !read.exists())
        return false;
    const QFileInfo deleted(target);
    return !deleted.exists() || deleted.canonicalFilePath() != read.canonicalFilePath();
}

QString RefusedDeletionMessage(const QString &target, const QString &readFrom, const QString &displayName)
{
    if (!DeletesAnotherFolder(target, readFrom))
        return {};
    // A link that leads nowhere is no folder either.
    return QFileInfo::exists(target) ? ForeignDictionaryFolderMessage(displayName)
                                     : MissingDictionaryFolderMessage(displayName);
}

QString DictionaryFolderToDelete(const QString &programDir, const QString &folder)
{
    if (!DictPath::isSafeName(folder))
        return {};
    const QString dic = programDir + QStringLiteral("/dic");
    const QString found = DictPath::find(dic, folder);
    return found.isEmpty() ? dic + u'/' + folder : found;
}

namespace {

// An open folder, closed when it goes out of scope.
class FolderHandle {
public:
    explicit FolderHandle(int fd) : m_fd(fd) {}
    ~FolderHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

constexpr int OpenFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// The names in an open folder, "." and ".." left out; nullopt when it cannot be read.
std::optional<std::vector<QByteArray>> entryNames(int dirFd)
{
    const int listFd = ::dup(dirFd);
    if (listFd < 0)
        return std::nullopt;
    DIR *dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return std::nullopt;
    }
    std::vector<QByteArray> names;
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    const bool failed = errno != 0;
    ::closedir(dir);
    if (failed)
        return std::nullopt;
    return names;
}

// Empties an open folder that lies on `device`. Every step is relative to the
// open folder, so a subfolder swapped for a link half-way cannot lead out of
// it; a subfolder on another device is a file system mounted there, whose
// contents are no part of the dictionary.
bool emptyFolder(int dirFd, unsigned long long device, const DirectoryEntryRemover &remover)
{
    const auto names = entryNames(dirFd);
    if (!names)
        return false;
    for (const QByteArray &name : *names) {
        struct stat st {};
        if (::fstatat(dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                continue; // gone already
            return false;
        }
        if (S_ISDIR(st.st_mode)) {
            if (remover.device(dirFd, name.constData(), st) != device)
                return false;
            const FolderHandle sub(::openat(dirFd, name.constData(), OpenFolderFlags));
            if (sub.fd() < 0 || !emptyFolder(sub.fd(), device, remover))
                return false;
            remover.remove(dirFd, name.constData(), true);
        } else if (!remover.remove(dirFd, name.constData(), false)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool DeleteDirectoryTree(const QString &path, const QString &displayName, const DirectoryEntryRemover &remover)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    bool deleted = true;
    if (path.isEmpty() || ::lstat(native.constData(), &st) != 0) {
        // Nothing there: nothing to delete. A path that cannot even be looked at is a failure.
        deleted = path.isEmpty() || errno == ENOENT || errno == ENOTDIR;
    } else if (S_ISLNK(st.st_mode)) {
        deleted = remover.remove(AT_FDCWD, native.constData(), false);
    } else if (S_ISDIR(st.st_mode)) {
        {
            const FolderHandle folder(::open(native.constData(), OpenFolderFlags));
            deleted = folder.fd() >= 0
                && emptyFolder(folder.fd(), remover.device(AT_FDCWD, native.constData(), st), remover);
        }
        if (deleted)
            remover.remove(AT_FDCWD, native.constData(), true);
    } else {
        // A file in place of the folder is no dictionary to delete, and
        // saying it was deleted would drop the node while the file stays.
        deleted = false;
    }
    if (!deleted)
        ShowMessage(CannotDeleteDictionaryMessage(displayName), Qt::PlainText);
    return deleted;
}

} // namespace vocab
