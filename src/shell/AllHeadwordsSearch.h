#pragma once

#include "LineList.h"
#include "LetterIndex.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace vocab {

class DictionaryLookup;
class HeadwordGrid;
class SearchHost;

// The search of the combined headword list of all dictionaries, while the
// root of the tree is selected. The key's letter picks a range of the list
// through the letter index and the first line of that range that begins with
// the key is brought to the middle of the grid. No article is shown for it;
// the row's headword is what the page of all dictionaries looks up.
//
// It shares the search state of the one-dictionary search, which also opens
// the selected node again for an empty text. The list, the index and the
// rest belong to the main window and must outlive it.
class AllHeadwordsSearch {
public:
    AllHeadwordsSearch(SearchHost &host, HeadwordGrid &grid, DictionaryLookup &lookup,
                       const LineList &AllHeadwords, const LetterIndexTable &LetterIndex);

    AllHeadwordsSearch(const AllHeadwordsSearch &) = delete;
    AllHeadwordsSearch &operator=(const AllHeadwordsSearch &) = delete;

    void SearchAllHeadwords(const QString &text);

    // Whether the word, upper-cased, is a whole line of the combined list.
    bool IsInAllHeadwords(const QString &ExternalWord) const;

    // The root was opened: the text in the search box is searched, or the
    // first line of the combined list when the box is empty.
    void SearchRootOnOpening(const QString &typedText);

    // The lines a key is looked for in; nothing when its letter has none.
    std::optional<LetterRange> LinesOfKey(QStringView key) const;

private:
    SearchHost &m_host;
    HeadwordGrid &m_grid;
    DictionaryLookup &m_lookup;
    const LineList &m_lines;
    const LetterIndexTable &m_index;
};

} // namespace vocab
