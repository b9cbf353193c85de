#include "DictPath.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace vocab {

namespace {

// The entry of `dir` that stands for `name`: the exact name first, so that a
// folder made with the expected case costs no listing.
QString findEntry(const QString &dir, const QString &name)
{
    const QString exact = dir + u'/' + name;
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = QDir(dir).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir + u'/' + entry;
    }
    return {};
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
