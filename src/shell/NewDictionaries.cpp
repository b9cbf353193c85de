#include "NewDictionaries.h"

#include "AppError.h"
#include "DictionaryFolder.h"
#include "DictionaryTree.h"
#include "ShellTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace vocab {

std::vector<DictionaryEntry> DictionaryFoldersUnder(const QString &baseDir)
{
    std::vector<DictionaryEntry> found;
    const QStringList names = QDir(baseDir + QStringLiteral("/dic"))
                                  .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names) {
        if (name.contains(u'.'))
            continue;
        // A description that cannot be read describes no dictionary, as a
        // missing one does.
        QString displayName;
        try {
            displayName = DictionaryFolder(baseDir, name).ReadAbout().displayName();
        } catch (const FileError &) {
        }
        if (!displayName.isEmpty())
            found.push_back(DictionaryEntry{displayName, name});
    }
    return found;
}

int ReconcileTreeLines(StringList &treeLines, std::vector<DictionaryEntry> &dictionaries, int *droppedDictionaries)
{
    int dropped = 0;
    // Every found folder has a name, so a tree line with an empty folder (or
    // none) matches nothing and goes; nothing stands in for a folder that is
    // not there.
    for (qsizetype i = treeLines.size() - 1; i >= 0; --i) {
        const QString &line = treeLines.at(i);
        if (!line.startsWith(u'\t'))
            continue;
        const QString folder = StringList::valuePart(line);
        const auto match = std::find_if(dictionaries.begin(), dictionaries.end(),
                                        [&](const DictionaryEntry &d) { return d.folder == folder; });
        if (match != dictionaries.end())
            dictionaries.erase(match);
        else {
            treeLines.removeAt(i);
            ++dropped;
        }
    }
    if (droppedDictionaries)
        *droppedDictionaries = dropped;

    const qsizetype folderLine = treeLines.indexOf(texts::NewDictionariesFolder);
    if (folderLine < 0)
        return 0;
    if (folderLine + 1 < treeLines.size() && treeLines.at(folderLine + 1).startsWith(u'\t'))
        return int(folderLine + 1);
    treeLines.removeAt(folderLine);
    return 0;
}

int FindNewDictionaries(const ConfigPaths &paths, std::vector<DictionaryEntry> &NewDictionaries, StringList &TreeLines,
                        int *droppedDictionaries)
{
    NewDictionaries = DictionaryFoldersUnder(paths.base);
    // A tree that could not be made at a first start is the root alone.
    TreeLines = QFileInfo::exists(paths.treeView) ? ListFile::read(paths.treeView) : StringList();
    // New dictionaries must never become the root of a tree that lost its own.
    RepairTreeLines(TreeLines);
    return ReconcileTreeLines(TreeLines, NewDictionaries, droppedDictionaries);
}

QString DictionaryTreeLine(const DictionaryEntry &dictionary)
{
    QString caption = dictionary.displayName;
    caption.replace(u'=', u'-');
    caption.replace(u'\t', u' ');
    return u'\t' + caption + u'=' + dictionary.folder;
}

void PlaceNewDictionary(StringList &treeLines, int &NewDictionariesFolderIndex, const DictionaryEntry &dictionary)
{
    const QString line = DictionaryTreeLine(dictionary);
    if (NewDictionariesFolderIndex != 0) {
        treeLines.insert(NewDictionariesFolderIndex, line);
        return;
    }
    NewDictionariesFolderIndex = int(treeLines.size()) + 1;
    treeLines.append(texts::NewDictionariesFolder);
    treeLines.append(line);
}

QString ShortDictionaryName(const QString &displayName)
{
    constexpr qsizetype Shown = 38;
    if (displayName.size() <= Shown)
        return displayName;
    // Never half a character: a pair of surrogates, or a letter with its
    // marks, that the cut would split goes whole.
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, displayName);
    characters.setPosition(Shown);
    const qsizetype end = characters.isAtBoundary() ? Shown : characters.toPreviousBoundary();
    return displayName.left(std::max<qsizetype>(end, 0)) + QStringLiteral("...");
}

QString FitDictionaryName(const QString &shown, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(shown) <= width)
        return shown;
    const QString dots = QStringLiteral("...");
    const QString name = shown.endsWith(dots) ? shown.chopped(dots.size()) : shown;
    // Back from the end one character at a time, a letter with its marks or
    // a pair of surrogates counting as one.
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, name);
    characters.toEnd();
    for (qsizetype end = characters.toPreviousBoundary(); end > 0; end = characters.toPreviousBoundary()) {
        const QString cut = name.left(end) + dots;
        if (metrics.horizontalAdvance(cut) <= width)
            return cut;
    }
    return dots;
}

} // namespace vocab
