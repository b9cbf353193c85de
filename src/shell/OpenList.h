#pragma once

#include "LineList.h"
#include "ListFile.h"
#include "ListFileLines.h"

#include <QString>
#include <QStringList>

namespace vocab {

class DictionaryFolder;

// The headword and article lists open now: a whole dictionary, one per-letter
// file of it, or one category. The two lists are always replaced together, so
// an article list never belongs to other headwords than the ones beside it.
//
// The headwords, which every keystroke searches and the grid shows, are held
// as one text; of the articles, often a hundred times their size, only the
// open file and where its lines begin: an article is read when it is shown.
struct OpenList {
    // What CurrentLetterFile holds when no per-letter file is open.
    static constexpr int NoLetterFile = -1;

    LineList CurrentHeadwords;
    ListFileLines CurrentArticles;
    // The dictionary's folder name, or the name picked on the categories tab.
    QString CurrentListName;
    int CurrentLetterFile = 0;
    // The lines of the selected dictionary's sort.trv.
    StringList CategoryList;

    void ClearLists();
};

// Gives the pages freed by lists no longer held back to the system.
void ReleaseFreedMemory();

// Loads the pair `<headwords>` / `<articles>` of the folder. When either cannot
// be read, both lists are left empty and the FileError is thrown on.
void LoadListPair(OpenList &list, const DictionaryFolder &folder, const QString &headwords,
                  const QString &articles);

// Loads the per-letter pair n. Returns false, changing nothing, when the
// headword file cannot be read. When the article file cannot be read, the lists
// are left empty with n as the open letter, and the FileError is thrown on.
bool LoadLetterFile(OpenList &list, const DictionaryFolder &folder, int n);

// Loads a dictionary's lists as opening it does: the whole list when the folder
// has one (CurrentLetterFile unchanged), otherwise the first per-letter pair
// whose headword file can be read, in ascending order. When none can be read,
// both lists are left empty and no letter is open. CurrentListName is not
// touched. Throws FileError as the loaders above.
void LoadDictionaryLists(OpenList &list, const DictionaryFolder &folder);

// Loads the lists of a category, `categories/<file>.ogl` / `.uvs`.
void LoadCategoryLists(OpenList &list, const DictionaryFolder &folder, const QString &file);

} // namespace vocab
