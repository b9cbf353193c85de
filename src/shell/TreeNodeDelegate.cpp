#include "TreeNodeDelegate.h"

#include "TreeEdit.h"

namespace vocab {

TreeNodeDelegate::TreeNodeDelegate(const QStringList &grayList, QObject *parent)
    : QStyledItemDelegate(parent), m_grayList(grayList)
{
}

void TreeNodeDelegate::setEditedHandler(std::function<void(const QModelIndex &, const QString &)> handler)
{
    m_edited = std::move(handler);
}

void TreeNodeDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const NodeLook look = LookOfNode(index.data(Qt::DisplayRole).toString(), option->state & QStyle::State_Selected, m_grayList);
    const QColor text = look.text.isValid() ? look.text : option->palette.color(QPalette::Text);
    if (look.text.isValid())
        option->palette.setColor(QPalette::Text, text);
    if (look.background.isValid()) {
        // Every colour group: the selection stays silver when the tree has no focus.
        option->palette.setColor(QPalette::Highlight, look.background);
        option->palette.setColor(QPalette::HighlightedText, text);
    }
}

void TreeNodeDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    QStyledItemDelegate::setModelData(editor, model, index);
    if (m_edited)
        m_edited(index, index.data(Qt::DisplayRole).toString());
}

} // namespace vocab
