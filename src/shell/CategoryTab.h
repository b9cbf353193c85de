#pragma once

#include <QRgb>
#include <QString>

#include <optional>

namespace vocab {

class DictionaryLookup;
class SearchHost;

// The tab of a dictionary's categories. Its list holds the dictionary's
// display name (item 0), an empty line (item 1) and the category names of its
// sort.trv; picking an item makes the open list that whole dictionary, no list
// at all, or that category, and shows it from its first headword. The search
// of the dictionary then works on that list alone.
class CategoryTab {
public:
    static constexpr int DictionaryItem = 0;
    static constexpr int EmptyItem = 1;

    // The lookup and the host belong to the main window and must outlive it.
    CategoryTab(DictionaryLookup &lookup, SearchHost &host);

    CategoryTab(const CategoryTab &) = delete;
    CategoryTab &operator=(const CategoryTab &) = delete;

    // Item `item`, whose text is `text`, was picked. Picking the list shown
    // already does nothing. A category whose files cannot be read throws
    // FileError and leaves the open list empty under the category's name.
    void PickItem(int item, const QString &text);

    // The file name the categories file gives the open list's name, without
    // regard to letter case; empty when it names none.
    QString CurrentCategoryFile() const;

    // Whether the selected dictionary has categories, so that the tab can be
    // entered.
    bool Usable() const;

private:
    DictionaryLookup &m_lookup;
    SearchHost &m_host;
};

// The colour of a tab's caption on the page control: black on the active tab,
// grey on an inactive one while the categories cannot be used, else the page
// control's own font colour (nothing).
std::optional<QRgb> TabCaptionColour(bool active, bool categoriesUsable);

} // namespace vocab
