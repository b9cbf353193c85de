#include "TreeNodeDrag.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>

namespace vocab {

TreeNodeDrag::TreeNodeDrag(QTreeWidget *tree) : QObject(tree), m_tree(tree), m_viewport(tree->viewport())
{
    m_viewport->installEventFilter(this);
    // Escape gives a drag up; the keys go to the tree, not to its viewport.
    tree->installEventFilter(this);
}

bool TreeNodeDrag::accepts(QTreeWidgetItem *target) const
{
    return target && dragOver && dragOver(target);
}

void TreeNodeDrag::finish()
{
    m_pressedOnNode = false;
    m_dragging = false;
    m_viewport->unsetCursor();
}

bool TreeNodeDrag::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tree) {
        if (m_dragging && event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            finish();
            return true;
        }
        return false;
    }
    if (watched != m_viewport)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            finish();
            m_pressPos = mouse->position().toPoint();
            m_pressedOnNode = m_tree->itemAt(m_pressPos) != nullptr;
        }
        return false; // the tree selects the pressed node itself
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_pressedOnNode || !(mouse->buttons() & Qt::LeftButton))
            return false;
        const QPoint pos = mouse->position().toPoint();
        if (!m_dragging && (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance())
            m_dragging = true;
        if (m_dragging)
            m_viewport->setCursor(accepts(m_tree->itemAt(pos)) ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
        // Moving with the button down must not select the nodes passed over:
        // each selection would open a dictionary.
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !m_dragging) {
            if (mouse->button() == Qt::LeftButton)
                finish();
            return false;
        }
        QTreeWidgetItem *target = m_tree->itemAt(mouse->position().toPoint());
        finish();
        if (accepts(target) && dragDrop)
            dragDrop(target);
        return true;
    }
    default:
        return false;
    }
}

} // namespace vocab
