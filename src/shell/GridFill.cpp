#include "GridFill.h"

#include "GridGuards.h"
#include "HeadwordGrid.h"
#include "OpenList.h"
#include "SearchState.h"

#include <algorithm>
#include <optional>

namespace vocab {

GridWindow GridWindowAround(qsizetype count, qsizetype i, int halfWindow)
{
    const qsizetype w = std::min<qsizetype>(halfWindow, count);
    GridWindow window;
    window.hi = std::min(i + w, count);
    window.lo = i - w;
    qsizetype matchRow = w;
    if (window.lo < 0) {
        matchRow += window.lo;
        window.lo = 0;
    }
    window.matchRow = int(matchRow);
    return window;
}

namespace {

template <typename Lines>
bool fillGrid(HeadwordGrid &grid, SearchState &state, const Lines &lines, qsizetype i, const GridFillMember &member,
              bool writeCells)
{
    const qsizetype count = lines.size();
    const GridWindow window = GridWindowAround(count, i, member.halfWindow);
    const int visible = grid.VisibleRowCount();
    // The row-to-line mapping is changed only together with the rows, or a
    // click on a row left as it was would show another line's article.
    if (visible < 3)
        return false;
    state.GridMatchIndex = i;
    state.GridMatchRow = window.matchRow;

    grid.SetRowCount(window.rows());
    const int half = std::min(visible, window.rows()) / 2;
    if (writeCells)
        grid.WriteCells(lines, window.lo, window.rows());
    std::optional<SelectCellDetached> detached;
    if (member.selectMatchAtEnd)
        detached.emplace(grid);
    grid.SetRow(state.GridMatchRow);

    // Down past the match and back up past it, so that the least scroll that
    // shows each row leaves half a view of lines on either side of the match.
    // The down move stays inside the window, which is shorter than the list
    // below the match when the list is long.
    const int up = int(std::min<qsizetype>(half, i));
    const int down = int(std::min<qsizetype>(half, window.hi - 1 - i));
    grid.SetRow(grid.Row() + down);
    grid.SetRow(grid.Row() - up - down);
    grid.SetRow(grid.Row() + up);

    if (member.selectMatchAtEnd) {
        // The handler fires only on a change of row, so step off the match and
        // back with it attached; on the last row a row is borrowed to step to.
        // The handler writes the page, which may throw: the borrowed row
        // goes and the handler is back whatever happens.
        const BorrowedRow borrowed(grid, grid.Row() == grid.RowCount() - 1);
        grid.SetRow(grid.Row() + 1);
        detached->restore();
        grid.SetRow(grid.Row() - 1);
    }
    return true;
}

} // namespace

bool FillGrid(HeadwordGrid &grid, SearchState &state, const QStringList &lines, qsizetype i,
              const GridFillMember &member, bool writeCells)
{
    return fillGrid(grid, state, lines, i, member, writeCells);
}

bool FillGrid(HeadwordGrid &grid, SearchState &state, const LineList &lines, qsizetype i,
              const GridFillMember &member, bool writeCells)
{
    return fillGrid(grid, state, lines, i, member, writeCells);
}

bool FillGridFromLetterFile(HeadwordGrid &grid, SearchState &state, const OpenList &list, qsizetype i)
{
    return FillGrid(grid, state, list.CurrentHeadwords, i, LetterFileFill, true);
}

bool FillGridFromWholeList(HeadwordGrid &grid, SearchState &state, const OpenList &list, qsizetype i)
{
    const LineList &lines = list.CurrentHeadwords;
    const GridWindow window = GridWindowAround(lines.size(), i, WholeListFill.halfWindow);
    const bool write = state.LastGridList != list.CurrentListName
        || !grid.ShowsLines(lines, window.lo, window.rows());
    return FillGrid(grid, state, lines, i, WholeListFill, write);
}

bool FillGridFromAllHeadwords(HeadwordGrid &grid, SearchState &state, const LineList &AllHeadwords,
                              qsizetype a)
{
    return FillGrid(grid, state, AllHeadwords, a, AllHeadwordsFill, true);
}

} // namespace vocab
