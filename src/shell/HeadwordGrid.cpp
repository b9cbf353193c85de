#include "HeadwordGrid.h"

#include <algorithm>
#include <type_traits>

namespace vocab {

HeadwordGrid::HeadwordGrid(QObject *parent) : QAbstractListModel(parent) {}

int HeadwordGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

QVariant HeadwordGrid::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() != 0 || role != Qt::DisplayRole)
        return {};
    return Cell(index.row());
}

void HeadwordGrid::SetRowCount(int count)
{
    count = std::max(count, 0);
    if (count == m_rowCount)
        return;
    if (count > m_rowCount) {
        beginInsertRows(QModelIndex(), m_rowCount, count - 1);
        m_rowCount = count;
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), count, m_rowCount - 1);
        m_rowCount = count;
        endRemoveRows();
    }
    clampRowAndTop();
}

template <typename List>
void HeadwordGrid::writeCells(const List &lines, qsizetype first, int count)
{
    first = std::clamp<qsizetype>(first, 0, lines.size());
    count = int(std::clamp<qsizetype>(count, 0, lines.size() - first));
    beginResetModel();
    if constexpr (std::is_same_v<List, LineList>) {
        m_lineList = lines;
        m_lines = QStringList();
    } else {
        m_lines = lines;
        m_lineList = LineList();
    }
    m_first = first;
    m_cellCount = count;
    endResetModel();
    // A reset view forgets its current row and scroll position.
    emit RowChanged(m_row);
    emit TopRowChanged(m_topRow);
}

void HeadwordGrid::WriteCells(const QStringList &lines, qsizetype first, int count)
{
    writeCells(lines, first, count);
}

void HeadwordGrid::WriteCells(const LineList &lines, qsizetype first, int count)
{
    writeCells(lines, first, count);
}

bool HeadwordGrid::ShowsLines(const QStringList &lines, qsizetype first, int count) const
{
    return m_lines.constData() == lines.constData() && m_lines.size() == lines.size() && m_first == first
        && m_cellCount == count;
}

bool HeadwordGrid::ShowsLines(const LineList &lines, qsizetype first, int count) const
{
    return !lines.isEmpty() && m_lineList.SharesLinesWith(lines) && m_first == first && m_cellCount == count;
}

QString HeadwordGrid::Cell(int row) const
{
    if (row < 0 || row >= m_rowCount || row >= m_cellCount)
        return {};
    if (!m_lineList.isEmpty())
        return m_lineList.at(m_first + row).toString();
    return m_lines.at(m_first + row);
}

void HeadwordGrid::Clear()
{
    beginResetModel();
    m_lines = QStringList();
    m_lineList = LineList();
    m_first = 0;
    m_cellCount = 0;
    m_rowCount = 0;
    m_row = 0;
    m_topRow = 0;
    endResetModel();
    emit RowChanged(m_row);
    emit TopRowChanged(m_topRow);
}

void HeadwordGrid::SetRow(int row)
{
    row = m_rowCount == 0 ? 0 : std::clamp(row, 0, m_rowCount - 1);
    if (row == m_row)
        return;
    m_row = row;
    if (m_row < m_topRow)
        setTopRowValue(m_row);
    else if (m_row >= m_topRow + pageRows())
        setTopRowValue(m_row - pageRows() + 1);
    emit RowChanged(m_row);
    if (m_attached && m_selectCell)
        m_selectCell(m_row);
}

bool HeadwordGrid::MoveRowFromSearchBox(int step)
{
    if ((step > 0 && m_row < m_rowCount - 1) || (step < 0 && m_row > 0)) {
        m_tag = RowFromSearchBoxTag;
        SetRow(m_row + (step > 0 ? 1 : -1));
        return true;
    }
    return false;
}

void HeadwordGrid::SetTopRow(int topRow)
{
    setTopRowValue(std::clamp(topRow, 0, std::max(0, m_rowCount - pageRows())));
}

void HeadwordGrid::SetHeight(int pixels)
{
    m_height = std::max(pixels, 0);
    clampRowAndTop();
}

void HeadwordGrid::SetClientHeight(int pixels)
{
    m_clientHeight = pixels;
    clampRowAndTop();
}

int HeadwordGrid::pageRows() const
{
    const int pixels = m_clientHeight >= 0 ? m_clientHeight : m_height;
    return std::max(1, pixels / DefaultRowHeight);
}

void HeadwordGrid::clampRowAndTop()
{
    const int row = m_rowCount == 0 ? 0 : std::min(m_row, m_rowCount - 1);
    if (row != m_row) {
        m_row = row;
        emit RowChanged(m_row);
    }
    setTopRowValue(std::clamp(m_topRow, 0, std::max(0, m_rowCount - pageRows())));
}

void HeadwordGrid::setTopRowValue(int topRow)
{
    if (topRow == m_topRow)
        return;
    m_topRow = topRow;
    emit TopRowChanged(m_topRow);
}

} // namespace vocab
