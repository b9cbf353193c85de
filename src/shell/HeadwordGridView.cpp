#include "HeadwordGridView.h"

#include "ErrorHandler.h"
#include "HeadwordGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

namespace vocab {

HeadwordGridView::HeadwordGridView(QTableView *view, HeadwordGrid &grid) : QObject(view), m_view(view), m_grid(grid)
{
    view->setModel(&grid);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->setColumnWidth(0, 2000);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(HeadwordGrid::DefaultRowHeight);
    view->installEventFilter(this);

    connect(&grid, &HeadwordGrid::RowChanged, this, &HeadwordGridView::showRow);
    connect(&grid, &QAbstractItemModel::modelReset, this, [this] { showRow(m_grid.Row()); });
    connect(&grid, &HeadwordGrid::TopRowChanged, view->verticalScrollBar(), &QScrollBar::setValue);
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (!m_followingGrid && current.isValid())
            guarded([&] { m_grid.SetRow(current.row()); });
    });
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int top) {
        guarded([&] { m_grid.SetTopRow(top); });
    });
    syncGeometry();
}

void HeadwordGridView::showRow(int row)
{
    m_followingGrid = true;
    m_view->setCurrentIndex(row < m_grid.RowCount() ? m_grid.index(row) : QModelIndex());
    m_followingGrid = false;
}

void HeadwordGridView::syncGeometry()
{
    m_grid.SetHeight(m_view->height());
    m_grid.SetClientHeight(m_view->viewport()->height());
}

bool HeadwordGridView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        syncGeometry();
    return QObject::eventFilter(watched, event);
}

} // namespace vocab
