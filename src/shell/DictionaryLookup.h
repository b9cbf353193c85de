#pragma once

#include "DictionaryFolder.h"
#include "OpenList.h"
#include "SearchState.h"

#include <QString>

#include <optional>

namespace vocab {

class HeadwordGrid;
class SearchHost;

// One line of the open list, with its article.
struct ArticleRef {
    qsizetype index = 0;
    QString headword;
    // Nothing when the article file holds no such line: it ends before the
    // headword file, cut off or cut short since it was opened.
    std::optional<QString> article;
};

// Opens the dictionary selected in the tree and searches it as the user
// types. It owns the open lists and the search state; the grid, the tree lines
// and the host belong to the main window and must outlive it.
//
// Errors: a file that must be there and cannot be read throws FileError, for
// the window's event boundary to show; what was already done stays done.
class DictionaryLookup {
public:
    // `baseDir` is the folder that holds `dic`, the current directory at start.
    DictionaryLookup(SearchHost &host, HeadwordGrid &grid, const StringList &treeLines, QString baseDir);

    DictionaryLookup(const DictionaryLookup &) = delete;
    DictionaryLookup &operator=(const DictionaryLookup &) = delete;

    // Opens the node selected in the tree: empties the grid and the page, sets
    // the search mode for its kind, and for a dictionary loads its lists, shows
    // its first headword and lists its categories.
    void OpenSelectedDictionary();
    // Opens the selected node again because the search text became empty. An
    // opening that is under way is not started again: an empty first line would
    // otherwise open the dictionary over and over.
    void ReopenSelectedDictionary();

    // The search of the selected dictionary for a typed text.
    void SearchOneDictionary(const QString &text);

    // Shows the open list from its start: searches its first line that gives a
    // search key (empty lines and lines of blanks give none). False when there
    // is no such line or the search found nothing. Opening a dictionary and
    // picking a category both end with it.
    bool ShowFromFirstHeadword();
    std::optional<QString> FirstSearchableHeadword() const;

    // The search box was cleared by its erase key: the next search must run in
    // full, and the dictionary is shown from its first headword again.
    void EraseSearchText();

    // Empties the grid with the selection handler detached, writes `page`
    // into the article view (the blank page unless another is given) and
    // forgets the article shown.
    void ClearGridAndPage(const QString &page = QString());

    QString SelectedDictionaryDir() const;
    DictionaryFolder SelectedFolder() const;

    // For the grid's selection handler: records the list index of grid row
    // `row` as the article shown and returns that line, or nothing when the
    // row stands for no headword of the list.
    std::optional<ArticleRef> ArticleOfRow(int row);

    const OpenList &List() const { return m_list; }
    OpenList &List() { return m_list; }
    const SearchState &State() const { return m_state; }
    SearchState &State() { return m_state; }
    const QString &BaseDir() const { return m_baseDir; }

private:
    void searchWholeList(const QString &key);
    void searchByLetter(const QString &key, const DictionaryFolder &folder);
    template <typename Fill>
    void showMatch(Fill &&fill);

    SearchHost &m_host;
    HeadwordGrid &m_grid;
    const StringList &m_treeLines;
    QString m_baseDir;
    OpenList m_list;
    SearchState m_state;
    bool m_opening = false;
};

} // namespace vocab
