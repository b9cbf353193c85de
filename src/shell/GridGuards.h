#pragma once

#include "HeadwordGrid.h"

namespace vocab {

// Keeps the grid's selection handler detached for one scope and gives it back
// as it was when the scope ends, by an exception too: a page write that fails
// while the handler is away must not leave the grid deaf to the user's picks.
class SelectCellDetached {
public:
    explicit SelectCellDetached(HeadwordGrid &grid) : m_grid(grid), m_wasAttached(grid.SelectCellAttached())
    {
        m_grid.DetachSelectCell();
    }
    ~SelectCellDetached() { restore(); }
    SelectCellDetached(const SelectCellDetached &) = delete;
    SelectCellDetached &operator=(const SelectCellDetached &) = delete;

    // Gives the handler back before the scope ends.
    void restore()
    {
        if (m_done)
            return;
        m_done = true;
        if (m_wasAttached)
            m_grid.AttachSelectCell();
    }

private:
    HeadwordGrid &m_grid;
    const bool m_wasAttached;
    bool m_done = false;
};

// One extra row at the end of the grid for one scope, so that the last row has
// a row to step to; it goes again when the scope ends, by an exception too.
// Removing it never calls the selection handler.
class BorrowedRow {
public:
    BorrowedRow(HeadwordGrid &grid, bool borrow) : m_grid(grid), m_borrowed(borrow)
    {
        if (m_borrowed)
            m_grid.SetRowCount(m_grid.RowCount() + 1);
    }
    ~BorrowedRow()
    {
        if (m_borrowed)
            m_grid.SetRowCount(m_grid.RowCount() - 1);
    }
    BorrowedRow(const BorrowedRow &) = delete;
    BorrowedRow &operator=(const BorrowedRow &) = delete;

private:
    HeadwordGrid &m_grid;
    const bool m_borrowed;
};

} // namespace vocab
