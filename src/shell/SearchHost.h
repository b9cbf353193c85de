#pragma once

#include "DictionaryTree.h"

#include <QString>
#include <QStringList>

namespace vocab {

// What opening a dictionary and searching it need of the main window: the
// tree's selection, the search box, the article view and the categories tab.
// The window implements it; tests implement it to watch what the window would
// do. None of these calls may start a search of its own.
class SearchHost {
public:
    virtual ~SearchHost() = default;

    virtual TreeNodeKind SelectedNodeKind() const = 0;
    virtual QString SelectedNodeCaption() const = 0;
    // The selected dictionary's own folder, as the tree keeps it for each
    // node, so that two dictionaries of one name open their own folders.
    // Empty when it is not known: the folder is then the one the tree lines
    // give for the caption.
    virtual QString SelectedNodeFolder() const { return {}; }

    // Opening a node begins: the tree is made read-only again and the 100 ms
    // timer that gives the search box the focus is started.
    virtual void BeginOpening() = 0;
    // The tabs are redrawn, as their captions follow the selected node.
    virtual void InvalidatePageControl() = 0;
    // Shows the button and sets the search box's change handler for the node:
    // the combined-list search for the root, the one-dictionary search for a
    // dictionary or a folder.
    virtual void SetSearchMode(TreeNodeKind kind) = 0;
    // The root was opened: search the combined list for the typed text, or for
    // its first line when the box is empty.
    virtual void SearchRootOnOpening() = 0;

    // Sets the text as code does: no change handler runs.
    virtual void SetSearchBoxText(const QString &text) = 0;
    virtual void FocusSearchBox() = 0;
    // The search box takes the focus back with the caret at the end of its
    // text and nothing selected.
    virtual void RefocusSearchBoxAtEnd() = 0;
    // Shows SearchFound as the box's text colour (see SearchBoxMode).
    virtual void UpdateSearchBoxMode() = 0;

    // Replaces the page in the article view; the empty string is the blank page.
    virtual void WriteHtmlToBrowser(const QString &page) = 0;

    // The selected item of the categories tab's list, or -1 for none.
    virtual int SelectedCategoryItem() const = 0;
    // Fills that list with the caption, an empty item and the category names,
    // and selects item 0.
    virtual void ShowCategories(const QString &caption, const QStringList &names) = 0;
};

} // namespace vocab
