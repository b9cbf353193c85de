#include "DictionaryFolder.h"

#include "AppError.h"
#include "DictPath.h"

#include <QFileInfo>

namespace vocab {

namespace {

constexpr char16_t kHyphen = u'-';
constexpr char16_t kApostrophe = u'\'';

bool isCyrillicCapital(QChar c) { return c.unicode() >= 0x0410 && c.unicode() <= 0x042F; }
bool isLatinCapital(QChar c) { return c.unicode() >= u'A' && c.unicode() <= u'Z'; }

} // namespace

int LetterFileNumber(QStringView word, bool english)
{
    if (word.isEmpty())
        return FirstLetterFile(english);
    QChar c = word.at(0);
    if (english) {
        if ((c == kHyphen || c == kApostrophe) && word.size() > 1 && isLatinCapital(word.at(1)))
            c = word.at(1);
        return isLatinCapital(c) ? c.unicode() + 36 : 100;
    }
    if (c == kHyphen && word.size() > 1 && isCyrillicCapital(word.at(1)))
        c = word.at(1);
    return isCyrillicCapital(c) ? c.unicode() - 1039 : 0;
}

DictionaryFolder::DictionaryFolder(QString baseDir, QString folderName)
    : m_baseDir(std::move(baseDir)), m_folderName(std::move(folderName)),
      m_valid(DictPath::isSafeName(m_folderName))
{
}

QString DictionaryFolder::Path() const
{
    return m_baseDir + QStringLiteral("/dic/") + m_folderName;
}

QString DictionaryFolder::WholeListFile(const char *extension) const
{
    return m_folderName + u'.' + QLatin1StringView(extension);
}

QString DictionaryFolder::LetterFile(int number, const char *extension)
{
    return QStringLiteral("base/%1.%2").arg(number).arg(QLatin1StringView(extension));
}

QString DictionaryFolder::CategoryFile(const QString &file, const char *extension)
{
    return QStringLiteral("categories/") + file + u'.' + QLatin1StringView(extension);
}

std::optional<QString> DictionaryFolder::Find(const QString &relative) const
{
    if (!m_valid)
        return std::nullopt;
    const QString path = DictPath::find(m_baseDir, QStringLiteral("dic/") + m_folderName + u'/' + relative);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    return path;
}

QString DictionaryFolder::existingFile(const QString &relative) const
{
    if (!m_valid)
        throw FileError(QStringLiteral("Недопустимое имя папки словаря: \"%1\"").arg(m_folderName));
    const std::optional<QString> path = Find(relative);
    if (!path)
        throw FileError(QStringLiteral("Файл \"%1\" не найден").arg(Path() + u'/' + relative));
    return *path;
}

QStringList DictionaryFolder::ReadList(const QString &relative) const
{
    return ListFile::read(existingFile(relative));
}

LineList DictionaryFolder::ReadLineList(const QString &relative) const
{
    return LineList::Read(existingFile(relative));
}

ListFileLines DictionaryFolder::OpenLines(const QString &relative) const
{
    return ListFileLines::Open(existingFile(relative));
}

QStringList DictionaryFolder::ReadLines(const QString &relative, qsizetype first, qsizetype count) const
{
    return ListFile::readLines(existingFile(relative), first, count);
}

AboutInfo DictionaryFolder::ReadAbout() const
{
    AboutInfo info;
    const QString name = QStringLiteral("about.info");
    if (!HasFile(name))
        return info;
    info.fileFound = true;
    info.lines = ReadList(name);
    return info;
}

StringList DictionaryFolder::ReadCategories() const
{
    return StringList(ReadList(QStringLiteral("sort.trv")));
}

QStringList DictionaryFolder::CategoryNames(const QStringList &categoryLines)
{
    QStringList names;
    names.reserve(categoryLines.size());
    for (const QString &line : categoryLines)
        names.append(StringList::namePart(line));
    return names;
}

bool DictionaryFolder::IsDictionary() const
{
    try {
        return !ReadAbout().displayName().isEmpty();
    } catch (const FileError &) {
        return false;
    }
}

QString SelectedDictionaryDir(const StringList &treeLines, const QString &caption)
{
    return treeLines.Values(u'\t' + caption);
}

} // namespace vocab
