#include "DictionaryTree.h"

#include "ErrorHandler.h"
#include "ShellTexts.h"

#include <QTreeWidget>

#include <functional>

namespace vocab {

QStringList TreeTempLines(const QStringList &treeLines)
{
    QStringList out;
    out.reserve(treeLines.size());
    for (const QString &line : treeLines)
        out.append(line.startsWith(u'\t') ? StringList::namePart(line) : line);
    return out;
}

std::vector<TreeFileNode> ParseTreeOutline(const QStringList &tempLines)
{
    std::vector<TreeFileNode> nodes;
    nodes.reserve(size_t(tempLines.size()));
    int previousDepth = -1;
    for (const QString &line : tempLines) {
        qsizetype tabs = 0;
        while (tabs < line.size() && line[tabs] == u'\t')
            ++tabs;
        TreeFileNode node;
        // A level can only be one deeper than the line above; the first line is the top.
        node.depth = std::min(int(tabs), previousDepth + 1);
        node.text = line.mid(tabs);
        node.kind = nodes.empty() ? tnkRoot : (tabs > 0 ? tnkDictionary : tnkFolder);
        previousDepth = node.depth;
        nodes.push_back(std::move(node));
    }
    return nodes;
}

bool RepairTreeLines(StringList &treeLines)
{
    if (!treeLines.isEmpty() && treeLines.front() == texts::RootNodeCaption)
        return false;
    treeLines.prepend(texts::RootNodeCaption);
    return true;
}

QStringList SavedTreeLines(const std::vector<TreeFileNode> &nodes, const StringList &treeLines,
                           const QStringList &ownFolders)
{
    if (nodes.empty())
        return {};
    QStringList out{texts::RootNodeCaption};
    for (size_t i = 1; i < nodes.size(); ++i) {
        const TreeFileNode &n = nodes[i];
        if (n.kind == tnkDictionary) {
            const QString own = ownFolders.value(qsizetype(i));
            out.append(u'\t' + n.text + u'=' + (own.isEmpty() ? treeLines.Values(u'\t' + n.text) : own));
        } else {
            out.append(n.text);
        }
    }
    return out;
}

namespace TreeNodes {

TreeNodeKind kind(const QTreeWidgetItem *item)
{
    return item ? TreeNodeKind(item->data(0, KindRole).toInt()) : tnkFolder;
}

void setKind(QTreeWidgetItem *item, TreeNodeKind k)
{
    item->setData(0, KindRole, int(k));
}

QString folder(const QTreeWidgetItem *item)
{
    return item ? item->data(0, FolderRole).toString() : QString();
}

std::vector<QTreeWidgetItem *> all(const QTreeWidget *tree)
{
    std::vector<QTreeWidgetItem *> out;
    std::function<void(QTreeWidgetItem *)> visit = [&](QTreeWidgetItem *item) {
        out.push_back(item);
        for (int i = 0; i < item->childCount(); ++i)
            visit(item->child(i));
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        visit(tree->topLevelItem(i));
    return out;
}

int count(const QTreeWidget *tree)
{
    return int(all(tree).size());
}

int absoluteIndex(const QTreeWidget *tree, const QTreeWidgetItem *item)
{
    const auto nodes = all(tree);
    const auto it = std::find(nodes.begin(), nodes.end(), item);
    return it == nodes.end() ? -1 : int(it - nodes.begin());
}

QTreeWidgetItem *at(const QTreeWidget *tree, int index)
{
    const auto nodes = all(tree);
    return index >= 0 && size_t(index) < nodes.size() ? nodes[size_t(index)] : nullptr;
}

} // namespace TreeNodes

void LoadDictionaryTree(QTreeWidget *tree, const StringList &treeLines, const QString &treeTempPath)
{
    const QStringList temp = TreeTempLines(treeLines);
    // Nothing here reads the display copy back: the tree is filled whether
    // or not it could be written.
    guarded([&] { ListFile::write(treeTempPath, temp); });
    tree->clear();
    std::vector<QTreeWidgetItem *> parents; // parents[d] = last node at depth d
    const std::vector<TreeFileNode> nodes = ParseTreeOutline(temp);
    for (size_t i = 0; i < nodes.size(); ++i) {
        const TreeFileNode &node = nodes[i];
        auto *item = node.depth == 0 ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(parents[size_t(node.depth - 1)]);
        item->setText(0, node.text);
        TreeNodes::setKind(item, node.kind);
        // One node per line, so line i is this node's own.
        if (node.kind == tnkDictionary)
            item->setData(0, TreeNodes::FolderRole, StringList::valuePart(treeLines.at(qsizetype(i))));
        parents.resize(size_t(node.depth));
        parents.push_back(item);
    }
}

QStringList TreeFileLines(const QTreeWidget *tree, const StringList &treeLines)
{
    std::vector<TreeFileNode> nodes;
    QStringList ownFolders;
    for (const QTreeWidgetItem *item : TreeNodes::all(tree)) {
        nodes.push_back(TreeFileNode{0, item->text(0), TreeNodes::kind(item)});
        ownFolders.append(TreeNodes::folder(item));
    }
    if (nodes.empty())
        return {};
    return SavedTreeLines(nodes, treeLines, ownFolders);
}

void SaveDictionaryTree(const QTreeWidget *tree, const StringList &treeLines, const QString &treeViewPath)
{
    const QStringList lines = TreeFileLines(tree, treeLines);
    if (!lines.isEmpty())
        ListFile::write(treeViewPath, lines);
}

} // namespace vocab
