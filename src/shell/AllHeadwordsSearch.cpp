#include "AllHeadwordsSearch.h"

#include "DictionaryLookup.h"
#include "GridFill.h"
#include "SearchHost.h"
#include "SearchState.h"
#include "SearchText.h"

namespace vocab {

AllHeadwordsSearch::AllHeadwordsSearch(SearchHost &host, HeadwordGrid &grid, DictionaryLookup &lookup,
                                       const LineList &AllHeadwords, const LetterIndexTable &LetterIndex)
    : m_host(host), m_grid(grid), m_lookup(lookup), m_lines(AllHeadwords), m_index(LetterIndex)
{
}

std::optional<LetterRange> AllHeadwordsSearch::LinesOfKey(QStringView key) const
{
    return m_index.LinesOfEntry(EntryOfKey(key), m_lines.size());
}

void AllHeadwordsSearch::SearchAllHeadwords(const QString &text)
{
    if (m_lines.isEmpty())
        return;
    SearchState &state = m_lookup.State();
    const QString upper = UpperCaseText(text);
    state.SearchFound = false;
    if (upper.isEmpty()) {
        // Opening the root searches the first line of the list; when that
        // line is empty too, the opening under way is not started again.
        m_lookup.ReopenSelectedDictionary();
        return;
    }
    const QString key = NormalizeSearchText(upper);
    if (key.isEmpty())
        return;

    // A letter without lines is a failed search like any other, and the box
    // says so rather than keep the colour of the search before.
    if (const std::optional<LetterRange> range = LinesOfKey(key)) {
        if (const qsizetype a = m_lines.FirstBeginningWith(key, range->first, range->last + 1); a >= 0) {
            // Selecting the rows on the way to the match must not copy their
            // headwords into the box the user is typing in.
            state.SyncSearchBoxFromGrid = 0;
            struct SyncAfter {
                SearchState &state;
                ~SyncAfter() { state.SyncSearchBoxFromGrid = 1; }
            } syncAfter{state};
            FillGridFromAllHeadwords(m_grid, state, m_lines, a);
            state.SearchFound = true;
        }
    }
    m_host.UpdateSearchBoxMode();
}

bool AllHeadwordsSearch::IsInAllHeadwords(const QString &ExternalWord) const
{
    const QString word = UpperCaseText(ExternalWord);
    if (word.isEmpty())
        return false;
    // The range is chosen as the search chooses it, accents folded, since
    // that is where the merge put such a word.
    const std::optional<LetterRange> range = LinesOfKey(word);
    if (!range)
        return false;
    for (qsizetype i = range->first; i <= range->last; ++i) {
        if (m_lines.at(i) == word)
            return true;
    }
    return false;
}

void AllHeadwordsSearch::SearchRootOnOpening(const QString &typedText)
{
    if (!typedText.isEmpty()) {
        SearchAllHeadwords(typedText);
        return;
    }
    if (!m_lines.isEmpty())
        SearchAllHeadwords(m_lines.first().toString());
}

} // namespace vocab
