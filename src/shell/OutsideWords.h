#pragma once

// Words that come from outside the search box: the selected word of another
// program (the hot key Ctrl+Shift+C), a word double-clicked in the article
// view and the article view's context menu. Each road makes its text a word
// the same way and uses it only within the word limit.

#include <QPoint>
#include <QString>

namespace vocab {

// The global hot keys, by the ids they are registered under, with their
// modifiers (Control and Shift) and virtual keys.
inline constexpr int HotKeyCtrlCC = 0x693F;     // Ctrl+Shift+C: look up the selected word
inline constexpr int HotKeyCtrlShiftZ = 0x6940; // Ctrl+Shift+Z: bring the window forward
inline constexpr unsigned HotKeyModifiers = 0x6;
inline constexpr unsigned HotKeyCtrlCCKey = 0x43;
inline constexpr unsigned HotKeyCtrlShiftZKey = 0x5A;

// The search box's MaxLength: a longer word is never looked up.
inline constexpr qsizetype ExternalWordLimit = 130;

// Characters up to and including the blank trimmed at both ends; then, when
// at least two characters are left and the last is one of . , : ; - , that one
// character goes. Once only, and without trimming again.
void TrimTrailingPunctuation(QString &ExternalWord);

// A text made a word to look up: trailing punctuation dropped, then the
// search's normal form (Ё made Е, blanks trimmed).
QString ExternalWordOf(const QString &text);

// Another program's selection as the hot key takes it: a text of more than
// 250 characters is cut to its first 230.
QString CutOutsideText(const QString &text);

// Not empty and within the limit.
bool WithinWordLimit(const QString &word);

// Where the article view lies on the screen, estimated from the window's
// outer position, the width of the left panel and the view's place in its
// panel. The same estimate decides for the double click, the hot key that
// brings the window forward and the focus timer.
struct ArticleViewArea {
    QPoint windowTopLeft; // outer position of the main window
    int panelWidth = 0;   // Panel1
    int viewTop = 0;      // Emb, relative to its panel
    int viewWidth = 0;
    int viewHeight = 0;

    int Left() const { return windowTopLeft.x() + panelWidth + 18; }
    int Top() const { return windowTopLeft.y() + viewTop + 50; }
    // Strictly inside: a point on the border is outside.
    bool Contains(QPoint p) const;
    // Where the pointer is moved out of the view, over the left panel.
    QPoint PointerParking() const;
};

// The items the article view's context menu shows for a word.
struct PopupBrowserItems {
    bool copyVisible = false;
    bool copyInEditVisible = false;
    bool findAllDicVisible = false;
    bool findAllDicEnabled = false;
};

// Nothing for no word; only "Копировать" for one over the limit; all three
// otherwise, the search in all dictionaries enabled only for a headword of
// the combined list.
PopupBrowserItems PopupBrowserItemsFor(const QString &word, bool isHeadword);

} // namespace vocab
