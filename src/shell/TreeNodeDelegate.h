#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

#include <functional>

namespace vocab {

// Draws the tree's nodes and reports its in-place edits. A node whose caption
// is on the grey list has grey text; a selected node is drawn on silver, with
// or without the focus.
class TreeNodeDelegate : public QStyledItemDelegate {
public:
    // `grayList` belongs to the window and outlives the delegate.
    TreeNodeDelegate(const QStringList &grayList, QObject *parent);

    // Runs when an edit is committed (Enter, or the editor losing the focus),
    // even with the text unchanged; an edit given up with Escape commits nothing.
    void setEditedHandler(std::function<void(const QModelIndex &, const QString &)> handler);

    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    const QStringList &m_grayList;
    std::function<void(const QModelIndex &, const QString &)> m_edited;
};

} // namespace vocab
