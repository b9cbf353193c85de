#include "TreeEdit.h"

#include "AppError.h"

#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>

namespace vocab {

namespace {

void takeNode(QTreeWidget *tree, QTreeWidgetItem *node)
{
    if (QTreeWidgetItem *parent = node->parent())
        parent->takeChild(parent->indexOfChild(node));
    else
        tree->takeTopLevelItem(tree->indexOfTopLevelItem(node));
}

bool inSubtreeOf(const QTreeWidgetItem *item, const QTreeWidgetItem *top)
{
    for (const QTreeWidgetItem *p = item; p; p = p->parent()) {
        if (p == top)
            return true;
    }
    return false;
}

// The nodes in display order, with the tree view's own answer to an index
// outside them: an error for the default handler.
class NodeSequence {
public:
    explicit NodeSequence(const QTreeWidget *tree) : m_nodes(TreeNodes::all(tree)) {}

    int indexOf(const QTreeWidgetItem *item) const
    {
        const auto it = std::find(m_nodes.begin(), m_nodes.end(), item);
        return it == m_nodes.end() ? -1 : int(it - m_nodes.begin());
    }
    int count() const { return int(m_nodes.size()); }
    QTreeWidgetItem *at(int index) const
    {
        if (index < 0 || index >= count())
            throw AppError(QStringLiteral("Недопустимый индекс узла дерева (%1)").arg(index));
        return m_nodes[size_t(index)];
    }
    TreeNodeKind kindAt(int index) const { return TreeNodes::kind(at(index)); }
    // The first folder from `start` on, going by `step`; the root (node 0) is
    // never one. Null when there is none.
    QTreeWidgetItem *folderFrom(int start, int step) const
    {
        for (int j = start; j >= 1 && j < count(); j += step) {
            if (kindAt(j) == tnkFolder)
                return at(j);
        }
        return nullptr;
    }

private:
    std::vector<QTreeWidgetItem *> m_nodes;
};

} // namespace

void MoveNode(QTreeWidget *tree, QTreeWidgetItem *node, QTreeWidgetItem *target, AttachMode mode)
{
    if (!node || !target || inSubtreeOf(target, node))
        return;
    QTreeWidgetItem *selected = tree->currentItem();
    // A move is not the user choosing a node: taking the current node out
    // would otherwise open its neighbour.
    const QSignalBlocker block(tree);
    const bool expanded = node->isExpanded();
    takeNode(tree, node);
    switch (mode) {
    case AttachMode::Insert:
        if (QTreeWidgetItem *parent = target->parent())
            parent->insertChild(parent->indexOfChild(target), node);
        else
            tree->insertTopLevelItem(tree->indexOfTopLevelItem(target), node);
        break;
    case AttachMode::AddChild:
        target->addChild(node);
        break;
    case AttachMode::AddChildFirst:
        target->insertChild(0, node);
        break;
    }
    node->setExpanded(expanded);
    if (QTreeWidgetItem *parent = node->parent())
        parent->setExpanded(true);
    if (selected)
        tree->setCurrentItem(selected);
}

TreeMenuState ComputeTreeMenuState(const QTreeWidget *tree, const QTreeWidgetItem *selected, const QStringList &grayList)
{
    TreeMenuState s;
    const NodeSequence nodes(tree);
    const int i = nodes.indexOf(selected);
    const TreeNodeKind kind = TreeNodes::kind(selected);
    const bool dictionary = selected && kind == tnkDictionary;
    const bool folder = selected && kind == tnkFolder;

    s.about = s.deleteDic = s.notSearch = dictionary;
    s.rename = s.deleteFolder = folder;
    s.moves = i != 0;

    s.upEnabled = !(i == 1 || (i == 2 && dictionary));
    s.downEnabled = i != nodes.count() - 1;
    if (folder) {
        // A folder goes down past the next folder; with none after it, it stays.
        for (int j = i + 1; j < nodes.count(); ++j) {
            s.downEnabled = nodes.kindAt(j) == tnkFolder;
            if (s.downEnabled)
                break;
        }
    }
    s.notSearchChecked = dictionary && grayList.contains(selected->text(0), Qt::CaseSensitive);
    return s;
}

void MoveNodeUp(QTreeWidget *tree, QTreeWidgetItem *node)
{
    const NodeSequence nodes(tree);
    const int i = nodes.indexOf(node);
    QTreeWidgetItem *p = nodes.at(i - 1);
    QTreeWidgetItem *q = nodes.at(i - 2);
    const TreeNodeKind pKind = TreeNodes::kind(p);
    const TreeNodeKind qKind = TreeNodes::kind(q);

    switch (TreeNodes::kind(node)) {
    case tnkDictionary:
        if (pKind == tnkDictionary) {
            MoveNode(tree, node, p, AttachMode::Insert);
        } else if (qKind == tnkFolder) {
            // The first dictionary of a folder below an empty folder.
            MoveNode(tree, node, q, AttachMode::AddChild);
        } else if (qKind == tnkDictionary) {
            // The first dictionary of a folder becomes the last of the folder above.
            MoveNode(tree, node, q, AttachMode::Insert);
            MoveNode(tree, q, node, AttachMode::Insert);
        }
        // Above the first folder is the root: a dictionary there would stand
        // beside the root, in no folder.
        break;
    case tnkFolder:
        // Before the folder above: the node just above when that is an empty
        // folder, else the folder whose dictionaries end there.
        if (QTreeWidgetItem *above = nodes.folderFrom(i - 1, -1))
            MoveNode(tree, node, above, AttachMode::Insert);
        break;
    case tnkRoot:
        break;
    }
}

void MoveNodeDown(QTreeWidget *tree, QTreeWidgetItem *node)
{
    const NodeSequence nodes(tree);
    const int i = nodes.indexOf(node);
    QTreeWidgetItem *n = nodes.at(i + 1);
    const TreeNodeKind nKind = TreeNodes::kind(n);

    switch (TreeNodes::kind(node)) {
    case tnkDictionary:
        if (nKind == tnkDictionary)
            MoveNode(tree, n, node, AttachMode::Insert);
        else if (nKind == tnkFolder)
            // The last dictionary of a folder becomes the first of the next one.
            MoveNode(tree, node, n, AttachMode::AddChildFirst);
        break;
    case tnkFolder:
        // The next folder, with its dictionaries, comes before this one.
        if (QTreeWidgetItem *below = nodes.folderFrom(i + 1, 1))
            MoveNode(tree, below, node, AttachMode::Insert);
        break;
    case tnkRoot:
        // The root stays node 0 and the file's first line.
        break;
    }
}

bool DropAccepted(const QTreeWidgetItem *dragged, const QTreeWidgetItem *target)
{
    if (!dragged || !target)
        return false;
    const TreeNodeKind d = TreeNodes::kind(dragged);
    const TreeNodeKind t = TreeNodes::kind(target);
    if (d == tnkRoot || t == tnkRoot || (d == tnkFolder && t == tnkDictionary))
        return false;
    // Onto itself is fine (nothing moves); into its own subtree is not.
    return !inSubtreeOf(target->parent(), dragged);
}

void DropNode(QTreeWidget *tree, QTreeWidgetItem *dragged, QTreeWidgetItem *target)
{
    if (!DropAccepted(dragged, target))
        return;
    const TreeNodeKind d = TreeNodes::kind(dragged);
    const TreeNodeKind t = TreeNodes::kind(target);
    if (d == tnkDictionary && t == tnkDictionary)
        MoveNode(tree, dragged, target, AttachMode::Insert);
    else if (d == tnkDictionary && t == tnkFolder)
        MoveNode(tree, dragged, target, AttachMode::AddChild);
    else if (d == tnkFolder && t == tnkFolder)
        MoveNode(tree, dragged, target, AttachMode::Insert);
}

QTreeWidgetItem *AddNewFolder(QTreeWidget *tree)
{
    tree->collapseAll();
    auto *folder = new QTreeWidgetItem(tree); // the tree owns its nodes
    folder->setText(0, NewFolderCaption);
    TreeNodes::setKind(folder, tnkFolder);
    tree->setCurrentItem(TreeNodes::at(tree, TreeNodes::count(tree) - 1));
    return folder;
}

bool DeleteEmptyFolder(QTreeWidget *tree, QTreeWidgetItem *folder)
{
    if (!folder || folder->childCount() > 0 || TreeNodes::absoluteIndex(tree, folder) < 0)
        return false;
    delete folder; // leaves the tree, which selects a neighbour
    return true;
}

void ToggleGrayListed(QStringList &grayList, const QString &name, bool shownChecked)
{
    if (!shownChecked) {
        grayList.append(name);
        return;
    }
    const qsizetype at = grayList.indexOf(name);
    if (at >= 0)
        grayList.removeAt(at);
}

void SetAllExpanded(QTreeWidget *tree, bool expanded)
{
    if (expanded)
        tree->expandAll();
    else
        tree->collapseAll();
}

void SetTreeReadOnly(QTreeWidget *tree, bool readOnly)
{
    tree->setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                                   : QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
}

void StartInPlaceEdit(QTreeWidget *tree, QTreeWidgetItem *item)
{
    if (!item)
        return;
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    SetTreeReadOnly(tree, false);
    tree->editItem(item);
}

NodeLook LookOfNode(const QString &caption, bool selected, const QStringList &grayList)
{
    NodeLook look;
    if (grayList.contains(caption, Qt::CaseSensitive))
        look.text = QColor(0x80, 0x80, 0x80);
    if (selected)
        look.background = QColor(0xC0, 0xC0, 0xC0);
    return look;
}

QString NodeCaptionWithoutControls(const QString &caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (const QChar ch : caption) {
        // Cc: U+0000..U+001F and U+007F..U+009F, the line and paragraph
        // separators are Zl and Zp.
        const QChar::Category category = ch.category();
        if (category != QChar::Other_Control && category != QChar::Separator_Line
            && category != QChar::Separator_Paragraph)
            plain.append(ch);
    }
    return plain;
}

} // namespace vocab
