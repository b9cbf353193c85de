#pragma once

#include <QString>

#include <sys/stat.h>

namespace vocab {

// Removing an installed dictionary's folder for good.

// Removes one entry of an open folder: unlinkat() on `dirFd`, a directory when
// `directory` is set; and tells the device a looked-at entry lives on. Its own
// class so that tests can make a removal fail, which permissions cannot do for
// a process that runs as root, and stand in a mounted folder, which only root
// can mount.
class DirectoryEntryRemover {
public:
    virtual ~DirectoryEntryRemover() = default;
    virtual bool remove(int dirFd, const char *name, bool directory) const;
    // The device of the entry `name` of the open folder `dirFd` (or of `name`
    // itself for AT_FDCWD), whose lstat is `st`: st.st_dev.
    virtual unsigned long long device(int dirFd, const char *name, const struct stat &st) const;
};

// "Не удается удалить словарь" with the display name and the advice.
QString CannotDeleteDictionaryMessage(const QString &displayName);
// Shown when the tree file names no usable folder for the dictionary.
QString NoDictionaryFolderMessage(const QString &displayName);

// Shown when the program's own "dic" holds another folder of that name than
// the one the dictionary is read from.
QString ForeignDictionaryFolderMessage(const QString &displayName);
// Shown when the program's own "dic" holds no folder of that name at all (or
// there is no such "dic"), while the dictionary is read from another one.
QString MissingDictionaryFolderMessage(const QString &displayName);

// True when deleting `target` would leave the folder the dictionary is read
// from, `readFrom`, on disk: a program started outside its own folder reads
// its dictionaries from elsewhere, and deleting by name would remove another
// dictionary, or nothing at all while saying it was done.
bool DeletesAnotherFolder(const QString &target, const QString &readFrom);

// Why deleting `target` must not go ahead, as DeletesAnotherFolder decides:
// ForeignDictionaryFolderMessage when `target` is another folder,
// MissingDictionaryFolderMessage when there is none; empty when it may.
QString RefusedDeletionMessage(const QString &target, const QString &readFrom, const QString &displayName);

// The folder to delete for the tree's folder name: `<programDir>/dic/<folder>`,
// found whatever its letter case. Empty for a name that is not one plain folder
// name (DictPath::isSafeName): an empty one would name the whole of `dic`.
QString DictionaryFolderToDelete(const QString &programDir, const QString &folder);

// Deletes the folder `path` with everything in it, depth first, in the order
// the file system lists the entries, and returns true; a path that does not
// exist counts as deleted. Symbolic links are removed as links and never
// followed, so nothing outside the folder is touched, and a `path` that is
// itself a link loses the link only. A subfolder on another device than the
// folder (a file system mounted inside it) is not entered: the deletion stops
// there. When `path` is a plain file or anything else but a folder, when an
// entry cannot be removed, a subfolder cannot be read or lies on another
// device, it stops at once, shows CannotDeleteDictionaryMessage(displayName)
// and returns false; what was removed before stays removed. The folder itself
// is removed last, without a check: its contents are what makes it a
// dictionary.
bool DeleteDirectoryTree(const QString &path, const QString &displayName,
                         const DirectoryEntryRemover &remover = DirectoryEntryRemover());

} // namespace vocab
