#include "DictionaryLookup.h"

#include "GridFill.h"
#include "GridGuards.h"
#include "HeadwordGrid.h"
#include "SearchHost.h"
#include "SearchText.h"

namespace vocab {

namespace {

// Sets a flag for the length of a scope and puts its old value back, also
// when an error leaves the scope.
class FlagScope {
public:
    FlagScope(bool &flag, bool value) : m_flag(flag), m_old(flag) { m_flag = value; }
    ~FlagScope() { m_flag = m_old; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
    bool m_old;
};

// The first headword that begins with the key; -1 when none does.
qsizetype firstBeginningWith(const LineList &headwords, const QString &key)
{
    return headwords.FirstBeginningWith(key);
}

} // namespace

DictionaryLookup::DictionaryLookup(SearchHost &host, HeadwordGrid &grid, const StringList &treeLines,
                                   QString baseDir)
    : m_host(host), m_grid(grid), m_treeLines(treeLines), m_baseDir(std::move(baseDir))
{
}

QString DictionaryLookup::SelectedDictionaryDir() const
{
    const QString own = m_host.SelectedNodeFolder();
    return own.isEmpty() ? vocab::SelectedDictionaryDir(m_treeLines, m_host.SelectedNodeCaption()) : own;
}

DictionaryFolder DictionaryLookup::SelectedFolder() const
{
    return DictionaryFolder(m_baseDir, SelectedDictionaryDir());
}

void DictionaryLookup::ClearGridAndPage(const QString &page)
{
    {
        const SelectCellDetached detached(m_grid);
        m_host.WriteHtmlToBrowser(page);
        m_grid.Clear();
    }
    // Nothing is shown now; a search that lands on the article shown before
    // must show it again rather than take the short cut.
    m_state.ShownArticleIndex = SearchState::NoArticleShown;
}

void DictionaryLookup::OpenSelectedDictionary()
{
    const FlagScope opening(m_opening, true);
    m_host.BeginOpening();
    // Whatever comes, the lists open now go: a dictionary's lists replace
    // them or stay empty when they cannot be read, and the root and the
    // folders have none. Let go first, their memory is the new lists'.
    m_list.ClearLists();

    const TreeNodeKind kind = m_host.SelectedNodeKind();
    {
        const SelectCellDetached detached(m_grid);
        m_host.WriteHtmlToBrowser(QString());
        m_grid.Clear();
        m_state.ShownArticleIndex = SearchState::NoArticleShown;
        if (kind == tnkDictionary)
            m_host.SetSearchBoxText(QString());
    }
    m_host.InvalidatePageControl();

    const QString caption = m_host.SelectedNodeCaption();
    if (kind != tnkDictionary) {
        m_state.LastSearchedList = caption;
        m_state.LastGridList = caption;
        // The root and the folders have no lists of their own: the memory
        // of the dictionary left goes back to the system.
        m_list.CurrentLetterFile = OpenList::NoLetterFile;
        m_list.CategoryList.clear();
        ReleaseFreedMemory();
    }
    m_host.SetSearchMode(kind);

    if (kind == tnkRoot) {
        m_host.SearchRootOnOpening();
        return;
    }
    // A folder has no files of its own; its empty folder name must not make
    // the files directly under `dic` look like a dictionary's.
    if (kind != tnkDictionary)
        return;

    m_list.CurrentListName = SelectedDictionaryDir();
    const DictionaryFolder folder = SelectedFolder();
    LoadDictionaryLists(m_list, folder);

    if (!ShowFromFirstHeadword())
        return;

    if (folder.HasCategories()) {
        m_list.CategoryList = folder.ReadCategories();
        m_host.ShowCategories(caption, DictionaryFolder::CategoryNames(m_list.CategoryList));
    }
}

void DictionaryLookup::ReopenSelectedDictionary()
{
    if (!m_opening)
        OpenSelectedDictionary();
}

std::optional<QString> DictionaryLookup::FirstSearchableHeadword() const
{
    // A line that gives no key would search nothing, or, being empty, open
    // the dictionary again; so the first line that gives one stands for the
    // start of the list.
    const LineList &headwords = m_list.CurrentHeadwords;
    for (qsizetype i = 0; i < headwords.size(); ++i) {
        if (!SearchKey(headwords.at(i)).isEmpty())
            return headwords.at(i).toString();
    }
    return std::nullopt;
}

bool DictionaryLookup::ShowFromFirstHeadword()
{
    const std::optional<QString> first = FirstSearchableHeadword();
    if (!first)
        return false;
    SearchOneDictionary(*first);
    return m_state.SearchFound;
}

void DictionaryLookup::SearchOneDictionary(const QString &text)
{
    m_host.FocusSearchBox();
    if (m_host.SelectedNodeKind() == tnkFolder)
        return;
    m_state.SearchFound = false;

    const QString upper = UpperCaseText(text);
    if (upper.isEmpty()) {
        m_state.LastGridList = GridReloadSentinel;
        m_state.LastSearchedList = ResetSentinel;
        ReopenSelectedDictionary();
        return;
    }
    const QString key = NormalizeSearchText(upper);
    if (key.isEmpty())
        return;

    const DictionaryFolder folder = SelectedFolder();
    bool categoryMode = false;
    if (folder.HasCategories()) {
        const int item = m_host.SelectedCategoryItem();
        // The empty item between the dictionary and its categories stands for
        // no list at all.
        if (item == 1)
            return;
        categoryMode = item >= 2;
    }
    if (categoryMode || folder.IsWholeList())
        searchWholeList(key);
    else
        searchByLetter(key, folder);
}

template <typename Fill>
void DictionaryLookup::showMatch(Fill &&fill)
{
    {
        // Selecting the match must not copy its headword into the box the
        // user is typing in; afterwards row picks do, even if showing the
        // article failed.
        m_state.SyncSearchBoxFromGrid = 0;
        struct SyncAfter {
            SearchState &state;
            ~SyncAfter() { state.SyncSearchBoxFromGrid = 1; }
        } syncAfter{m_state};
        fill();
    }
    m_host.RefocusSearchBoxAtEnd();
    m_state.SearchFound = true;
}

void DictionaryLookup::searchWholeList(const QString &key)
{
    if (const qsizetype i = firstBeginningWith(m_list.CurrentHeadwords, key); i >= 0) {
        if (m_state.LastSearchedList == m_list.CurrentListName && i == m_state.ShownArticleIndex) {
            m_state.SearchFound = true;
            m_host.UpdateSearchBoxMode();
            return;
        }
        showMatch([&] { FillGridFromWholeList(m_grid, m_state, m_list, i); });
    }
    m_host.UpdateSearchBoxMode();
    m_state.LastSearchedList = m_list.CurrentListName;
    m_state.LastGridList = m_list.CurrentListName;
}

void DictionaryLookup::searchByLetter(const QString &key, const DictionaryFolder &folder)
{
    m_state.LastGridList = m_list.CurrentListName;
    const int n = LetterFileNumber(key, folder.IsEnglish());
    if (n != m_list.CurrentLetterFile) {
        ClearGridAndPage();
        if (!LoadLetterFile(m_list, folder, n))
            return;
    }

    if (const qsizetype i = firstBeginningWith(m_list.CurrentHeadwords, key); i >= 0) {
        if (m_state.LastSearchedList == m_list.CurrentListName && i == m_state.ShownArticleIndex
            && m_state.LastSearchedLetterFile == n) {
            m_state.SearchFound = true;
            m_host.UpdateSearchBoxMode();
            return;
        }
        showMatch([&] { FillGridFromLetterFile(m_grid, m_state, m_list, i); });
    }
    m_host.UpdateSearchBoxMode();
    m_state.LastSearchedList = m_list.CurrentListName;
    m_state.LastSearchedLetterFile = n;
}

void DictionaryLookup::EraseSearchText()
{
    m_host.SetSearchBoxText(QString());
    m_state.LastGridList = GridReloadSentinel;
    m_state.LastSearchedList = ResetSentinel;
    OpenSelectedDictionary();
}

std::optional<ArticleRef> DictionaryLookup::ArticleOfRow(int row)
{
    const qsizetype i = m_state.ListIndexOfRow(row);
    m_state.ShownArticleIndex = i;
    if (i < 0 || i >= m_list.CurrentHeadwords.size())
        return std::nullopt;
    // Read from the file now; one cut short or replaced since it was opened
    // may no longer hold this line.
    return ArticleRef{i, m_list.CurrentHeadwords.at(i).toString(), m_list.CurrentArticles.Line(i)};
}

} // namespace vocab
