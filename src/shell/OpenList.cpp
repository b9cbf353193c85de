#include "OpenList.h"

#include "AppError.h"
#include "DictionaryFolder.h"

#include <malloc.h>

namespace vocab {

void ReleaseFreedMemory()
{
    // The allocator keeps the pages of a freed list of headwords for the next
    // allocation; a dictionary of 200 000 lines left for the root would hold
    // them for the rest of the session. Only then: a page given back costs a
    // fault when it is taken again, and the next dictionary takes them all.
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void OpenList::ClearLists()
{
    CurrentHeadwords.clear();
    CurrentArticles.clear();
}

void LoadListPair(OpenList &list, const DictionaryFolder &folder, const QString &headwords,
                  const QString &articles)
{
    try {
        LineList newHeadwords = folder.ReadLineList(headwords);
        ListFileLines newArticles = folder.OpenLines(articles);
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
    LineList headwords;
    try {
        headwords = folder.ReadLineList(DictionaryFolder::LetterFile(n, "ogl"));
    } catch (const FileError &) {
        return false;
    }
    list.CurrentLetterFile = n;
    try {
        list.CurrentArticles = folder.OpenLines(DictionaryFolder::LetterFile(n, "uvs"));
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
