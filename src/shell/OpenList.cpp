#include "OpenList.h"

#include "AppError.h"
#include "DictionaryFolder.h"

namespace vocab {

void OpenList::ClearLists()
{
    CurrentHeadwords.clear();
    CurrentArticles.clear();
}

void LoadListPair(OpenList &list, const DictionaryFolder &folder, const QString &headwords,
                  const QString &articles)
{
    try {
        QStringList newHeadwords = folder.ReadList(headwords);
        LineList newArticles = folder.ReadLineList(articles);
        list.CurrentHeadwords = std::move(newHeadwords);
        list.CurrentArticles = std::move(newArticles);
    } catch (const FileError &) {
        // Keeping the old lists would show the articles of the list open before
        // under the heading of this one.
        list.ClearLists();
        throw;
    }
}

bool LoadLetterFile(OpenList &list, const DictionaryFolder &folder, int n)
{
    QStringList headwords;
    try {
        headwords = folder.ReadList(DictionaryFolder::LetterFile(n, "ogl"));
    } catch (const FileError &) {
        return false;
    }
    list.CurrentLetterFile = n;
    try {
        list.CurrentArticles = folder.ReadLineList(DictionaryFolder::LetterFile(n, "uvs"));
        list.CurrentHeadwords = std::move(headwords);
    } catch (const FileError &) {
        list.ClearLists();
        throw;
    }
    return true;
}

void LoadDictionaryLists(OpenList &list, const DictionaryFolder &folder)
{
    if (folder.IsWholeList()) {
        LoadListPair(list, folder, folder.WholeListFile("ogl"), folder.WholeListFile("uvs"));
        return;
    }
    const bool english = folder.IsEnglish();
    for (int n = FirstLetterFile(english); n <= LastLetterFile(english); ++n) {
        if (LoadLetterFile(list, folder, n))
            return;
    }
    // Nothing of this dictionary could be read; the lists of the dictionary
    // open before must not stand in for it.
    list.ClearLists();
    list.CurrentLetterFile = OpenList::NoLetterFile;
}

void LoadCategoryLists(OpenList &list, const DictionaryFolder &folder, const QString &file)
{
    LoadListPair(list, folder, DictionaryFolder::CategoryFile(file, "ogl"),
                 DictionaryFolder::CategoryFile(file, "uvs"));
}

} // namespace vocab
