#pragma once

#include "LineList.h"

#include <QStringList>

namespace vocab {

class HeadwordGrid;
struct OpenList;
struct SearchState;

// The lines a fill puts into the grid around match i of a list of `count`
// lines: lo..hi-1, at most `halfWindow` lines before the match and
// halfWindow - 1 after it; the match stands in row matchRow = i - lo.
struct GridWindow {
    qsizetype lo = 0;
    qsizetype hi = 0;
    int matchRow = 0;

    int rows() const { return int(hi - lo); }
};
GridWindow GridWindowAround(qsizetype count, qsizetype i, int halfWindow);

// One member of the grid-fill family.
struct GridFillMember {
    int halfWindow;
    // Keep the handler detached while the rows are moved, then select the
    // match once with it attached again.
    bool selectMatchAtEnd;
};

inline constexpr GridFillMember LetterFileFill{400, true};
inline constexpr GridFillMember WholeListFill{200010, true};
inline constexpr GridFillMember AllHeadwordsFill{200, false};

// Fills `grid` with the window of `lines` around match i, writing the cells
// only when `writeCells` holds, and brings the match to the current row with
// half a view of lines above and below it. A grid of fewer than three visible
// rows is left as it is (returns false).
bool FillGrid(HeadwordGrid &grid, SearchState &state, const QStringList &lines, qsizetype i,
              const GridFillMember &member, bool writeCells);
bool FillGrid(HeadwordGrid &grid, SearchState &state, const LineList &lines, qsizetype i,
              const GridFillMember &member, bool writeCells);

// The members of the family. Each returns false when the grid is too short to
// be filled.
// Around line i of the open per-letter file; the cells are written every time.
bool FillGridFromLetterFile(HeadwordGrid &grid, SearchState &state, const OpenList &list, qsizetype i);
// Around line i of the open whole list or category. Its window is the whole
// list up to 200 010 lines, so the cells are written only when the grid does
// not hold this list already (LastGridList, and the grid's own record of what
// it shows, which also catches a grid emptied in between).
bool FillGridFromWholeList(HeadwordGrid &grid, SearchState &state, const OpenList &list, qsizetype i);
// Around line a of the combined list; the handler stays attached, so every
// row move selects, and the moves end on the match.
bool FillGridFromAllHeadwords(HeadwordGrid &grid, SearchState &state, const LineList &AllHeadwords,
                              qsizetype a);

} // namespace vocab
