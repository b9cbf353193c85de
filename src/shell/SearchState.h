#pragma once

#include <QString>

namespace vocab {

// Put into LastSearchedList so that the next search runs in full.
inline const QString ResetSentinel = QStringLiteral("сбросить антименцание");
// Put into LastGridList so that the next fill writes the grid's cells.
inline const QString GridReloadSentinel = QStringLiteral("Чтобы перезагружался грид");

// What the searches remember between keystrokes.
struct SearchState {
    static constexpr qsizetype NoArticleShown = -10;

    // The last search found a match; the search box shows it by its colour.
    bool SearchFound = false;
    // CurrentListName at the last completed search.
    QString LastSearchedList;
    // The letter number of the last completed per-letter search.
    int LastSearchedLetterFile = -99999;
    // CurrentListName of the whole list whose lines the grid holds.
    QString LastGridList;
    // List index of the article shown last.
    qsizetype ShownArticleIndex = NoArticleShown;
    // The line matched by the last grid fill and the grid row it stands in.
    qsizetype GridMatchIndex = 0;
    int GridMatchRow = 0;
    // 0 while a search fills the grid, 1 after: only then does selecting a row
    // copy its headword into the search box.
    int SyncSearchBoxFromGrid = 0;

    // The list index of the line that grid row `row` shows.
    qsizetype ListIndexOfRow(int row) const { return GridMatchIndex + row - GridMatchRow; }
};

} // namespace vocab
