#pragma once

#include "DictionaryTree.h"

#include <QRgb>
#include <QString>
#include <QStringList>

#include <optional>

namespace vocab {

class TIniFile;

// Values of the search box's Tag.
enum SearchBoxTag : int {
    SearchBoxNormalTag = 1,
    SearchBoxDropDownTag = 2, // the history list is open
};

// The text colours of the search box.
inline constexpr QRgb FoundTextColour = 0x000000;
inline constexpr QRgb NotFoundTextColour = 0x808080;

// The two change handlers the search box can have.
enum class SearchChangeHandler {
    Button_One_Dic,           // a dictionary or a folder is selected
    Button_All_dic_Zagolovki, // the root is selected
};

// How the search box must look after UpdateSearchBoxMode.
struct SearchBoxLook {
    QRgb colour;
    SearchChangeHandler handler;
};

// The search box's found / not-found state as painted. The window repaints
// only when UpdateSearchBoxMode answers: it then keeps the text and caret,
// detaches the change handler, empties the text, sets the colour, puts the text
// back, attaches the handler given, and restores the caret with nothing
// selected, so that no search fires.
class SearchBoxMode {
public:
    std::optional<SearchBoxLook> UpdateSearchBoxMode(bool searchFound, TreeNodeKind selectedKind);

    // While the history list is open the text is always black.
    void ComboBox1DropDown(bool &searchFound);
    void ComboBox1CloseUp(bool &searchFound);

    bool SearchFoundShown() const { return m_searchFoundShown; }

private:
    // True at start, so that the first update paints the text grey until a
    // search matches.
    bool m_searchFoundShown = true;
    bool m_searchFoundSaved = false;
};

// The option that names the key clearing the search box: 0 Shift, 1 Delete,
// anything else none. Read at every key press.
int ReadEraseStr(const TIniFile &options);
// Whether a key pressed in the search box clears it. `key` is a Qt::Key value.
bool IsEraseKey(int key, int EraseStr, bool searchBoxEmpty);

// History of looked-up words, newest first. An addition is planned on the
// items as they are and then carried out on the box (or on a list).
struct HistoryAddition {
    QString word;
    // The list was empty: the word is appended and the box's text kept.
    bool append = false;
    // Otherwise the word is inserted at 0 and then the item at this index
    // (counted after the insertion) removed; -1 for none.
    qsizetype removeIndex = -1;
    // The box then selects item 0, so its text becomes the word, with the
    // caret at the end: the word was there already in another letter case.
    bool selectTop = false;
};

// A word that equals an entry without regard to letter case replaces it at
// the top. Otherwise an addition that leaves 25 or more entries removes the
// one at position 24, so a history grown by additions keeps at most 24.
HistoryAddition AddToHistory(const QStringList &items, const QString &Word);
void ApplyHistoryAddition(QStringList &items, const HistoryAddition &addition);

} // namespace vocab
