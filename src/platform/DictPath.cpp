#include "DictPath.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstring>

#include <dirent.h>

namespace vocab {

namespace {

// The entry of `dir` that stands for `name`: the exact name first, so that a
// folder made with the expected case costs no listing. Otherwise the names
// of the folder are read as they stand, without looking at each entry (a
// page over many dictionaries asks for a file most of them lack); of names
// that differ only in case, the first in the order of their code units is
// taken.
QString findEntry(const QString &dir, const QString &name)
{
    const QString exact = dir + u'/' + name;
    if (QFileInfo::exists(exact))
        return exact;
    DIR *folder = ::opendir(QFile::encodeName(dir).constData());
    if (!folder)
        return {};
    QString found;
    while (const dirent *entry = ::readdir(folder)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        const QString candidate = QFile::decodeName(entry->d_name);
        if (candidate.compare(name, Qt::CaseInsensitive) == 0 && (found.isEmpty() || candidate < found))
            found = candidate;
    }
    ::closedir(folder);
    return found.isEmpty() ? QString() : dir + u'/' + found;
}

} // namespace

QString DictPath::find(const QString &root, const QString &relative)
{
    const QStringList parts = relative.split(u'/');
    QString path = root;
    for (const QString &part : parts) {
        if (part.isEmpty() || part == u"." || part == u"..")
            return {};
        path = findEntry(path, part);
        if (path.isEmpty())
            return {};
    }
    return path;
}

bool DictPath::fileExists(const QString &root, const QString &relative)
{
    const QString path = find(root, relative);
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool DictPath::isSafeName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') && !name.contains(u'\\')
        && !name.contains(QChar(0));
}

} // namespace vocab
