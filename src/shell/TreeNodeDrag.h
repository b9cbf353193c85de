#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace vocab {

// Drags nodes inside the tree with the left button. The press picks the node,
// which the tree selects as usual; a move past the start distance begins the
// drag, each further move asks whether the node under the pointer would take
// the drop, and the release drops there; Escape gives the drag up. Nodes never leave the tree, so this
// needs no drag data and no other window takes part.
class TreeNodeDrag : public QObject {
public:
    // Installs itself on the tree's viewport; the tree owns it.
    explicit TreeNodeDrag(QTreeWidget *tree);

    // Whether the node under the pointer (null over empty space) takes the drop.
    std::function<bool(QTreeWidgetItem *target)> dragOver;
    // The drop on an accepting node.
    std::function<void(QTreeWidgetItem *target)> dragDrop;

    bool dragging() const { return m_dragging; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool accepts(QTreeWidgetItem *target) const;
    void finish();

    QTreeWidget *m_tree;
    // Saved when installed: the filter still sees events while the tree is
    // being destroyed, when asking the tree for its viewport is no longer
    // allowed.
    QWidget *m_viewport;
    QPoint m_pressPos;
    bool m_pressedOnNode = false;
    bool m_dragging = false;
};

} // namespace vocab
