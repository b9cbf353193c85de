#pragma once

#include "LineList.h"

#include <QAbstractListModel>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace vocab {

// The headword grid without its widget: one column of rows that show a window
// of lines of a list held in memory, a current row, and the cell-selection
// handler that showing an article hangs on.
//
// The cells are a view, not a copy: writing them keeps a shared reference to
// the list (an open dictionary's, or the combined list of all dictionaries),
// so putting a whole list of 200 000 lines into the grid costs a pointer
// swap. The row count is kept apart from the cells, as the fill needs
// to change it without writing them; rows past the written cells are empty.
//
// Row follows the grid control it stands for: setting it to the row it already
// has does nothing; setting another row scrolls that row into view (the least
// move that shows it) and, while the handler is attached, calls the handler
// with the new row. Changing the row count or the cells moves the row into
// range without calling the handler.
//
// A view (QTableView) shows this model and follows RowChanged and
// TopRowChanged; it hands back the user's row picks with SetRow, its scrolling
// with SetTopRow and its size with SetHeight / SetClientHeight.
class HeadwordGrid : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int DefaultRowHeight = 21;

    // Values of Tag: a row change made from the search box is marked
    // RowFromSearchBoxTag until the selection handler has seen it.
    enum : int { NormalTag = 1, RowFromSearchBoxTag = 2 };

    using SelectCellHandler = std::function<void(int row)>;

    explicit HeadwordGrid(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    int RowCount() const { return m_rowCount; }
    void SetRowCount(int count);

    // Row r shows line first + r of `lines`, for r below `count`.
    void WriteCells(const QStringList &lines, qsizetype first, int count);
    void WriteCells(const LineList &lines, qsizetype first, int count);
    // Whether the cells already show exactly those lines of that very list.
    bool ShowsLines(const QStringList &lines, qsizetype first, int count) const;
    bool ShowsLines(const LineList &lines, qsizetype first, int count) const;
    QString Cell(int row) const;
    const QStringList &Lines() const { return m_lines; }
    const LineList &LineListShown() const { return m_lineList; }
    qsizetype FirstLine() const { return m_first; }
    int CellCount() const { return m_cellCount; }

    // No cells, no rows, row 0; the handler is not called.
    void Clear();

    int Row() const { return m_row; }
    // Clamped to the rows there are.
    void SetRow(int row);
    // One row down (step > 0) or up (step < 0), as the search box's arrow keys
    // and wheel do; marks the change with RowFromSearchBoxTag. False at the edge.
    bool MoveRowFromSearchBox(int step);

    int TopRow() const { return m_topRow; }
    void SetTopRow(int topRow);

    // Outer height in pixels; the fill reads its visible rows from it.
    int Height() const { return m_height; }
    void SetHeight(int pixels);
    // Height of the part that shows rows, when it differs from Height.
    void SetClientHeight(int pixels);
    int VisibleRowCount() const { return m_height / DefaultRowHeight; }

    void SetSelectCellHandler(SelectCellHandler handler) { m_selectCell = std::move(handler); }
    void AttachSelectCell() { m_attached = true; }
    void DetachSelectCell() { m_attached = false; }
    bool SelectCellAttached() const { return m_attached; }

    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

signals:
    void RowChanged(int row);
    void TopRowChanged(int topRow);

private:
    int pageRows() const;
    void clampRowAndTop();
    void setTopRowValue(int topRow);

    // Writes the cells from one of the lists and empties the other.
    template <typename List>
    void writeCells(const List &lines, qsizetype first, int count);

    QStringList m_lines;
    LineList m_lineList;
    qsizetype m_first = 0;
    int m_cellCount = 0;
    int m_rowCount = 0;
    int m_row = 0;
    int m_topRow = 0;
    int m_height = 0;
    int m_clientHeight = -1;
    int m_tag = NormalTag;
    bool m_attached = true;
    SelectCellHandler m_selectCell;
};

} // namespace vocab
