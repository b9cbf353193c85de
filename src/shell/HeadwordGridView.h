#pragma once

#include <QObject>

class QTableView;

namespace vocab {

class HeadwordGrid;

// Makes a table view show the headword grid: one column 2000 pixels wide,
// rows of the grid's default height, the current row and the scroll position
// following the grid's, and the user's picks, scrolling and the view's size
// handed back to the grid. Errors raised by the grid's selection handler
// during a pick are shown and end that pick.
class HeadwordGridView : public QObject {
public:
    HeadwordGridView(QTableView *view, HeadwordGrid &grid);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showRow(int row);
    void syncGeometry();

    QTableView *m_view;
    HeadwordGrid &m_grid;
    // Set while the view is moved to the grid's row, so that the move does not
    // come back as a pick.
    bool m_followingGrid = false;
};

} // namespace vocab
