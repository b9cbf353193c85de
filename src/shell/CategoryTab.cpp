#include "CategoryTab.h"

#include "DictionaryLookup.h"
#include "SearchHost.h"

namespace vocab {

CategoryTab::CategoryTab(DictionaryLookup &lookup, SearchHost &host) : m_lookup(lookup), m_host(host) {}

void CategoryTab::PickItem(int item, const QString &text)
{
    if (item < 0)
        return;
    SearchState &state = m_lookup.State();
    OpenList &list = m_lookup.List();
    if (state.LastGridList == text && list.CurrentListName == text)
        return;
    m_lookup.ClearGridAndPage();
    if (item == EmptyItem) {
        // No list: the grid and the article stay empty and typing searches
        // nothing until the dictionary or a category is picked.
        state.LastSearchedList = text;
        state.LastGridList = text;
        return;
    }
    // The name goes first, so that a category whose files fail is not taken
    // for the list that was open before it.
    list.CurrentListName = text;
    const DictionaryFolder folder = m_lookup.SelectedFolder();
    if (item == DictionaryItem)
        LoadDictionaryLists(list, folder);
    else
        LoadCategoryLists(list, folder, CurrentCategoryFile());
    if (!m_lookup.ShowFromFirstHeadword())
        return;
    m_host.SetSearchBoxText(QString());
}

QString CategoryTab::CurrentCategoryFile() const
{
    const OpenList &list = m_lookup.List();
    return list.CategoryList.Values(list.CurrentListName);
}

bool CategoryTab::Usable() const
{
    return m_lookup.SelectedFolder().HasCategories();
}

std::optional<QRgb> TabCaptionColour(bool active, bool categoriesUsable)
{
    if (active)
        return qRgb(0, 0, 0);
    if (!categoriesUsable)
        return qRgb(128, 128, 128);
    return std::nullopt;
}

} // namespace vocab
