#pragma once

#include "ListFile.h"

#include <QString>
#include <QStringList>

#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace vocab {

// The kind of a tree node. The tree has no pictures; the kind is all the
// "image index" ever meant.
enum TreeNodeKind { tnkFolder = 0, tnkDictionary = 1, tnkRoot = 2 };

// One node of the tree as the tree file holds it.
struct TreeFileNode {
    int depth = 0;
    QString text;
    TreeNodeKind kind = tnkFolder;
};

// The display copy of the tree lines: a dictionary line keeps TAB and its
// display name only.
QStringList TreeTempLines(const QStringList &treeLines);

// One node per line of the display copy, in order. A leading TAB adds a level
// of depth, so a line never turns into two nodes and empty lines stay nodes.
// Blanks belong to the name: a display name that begins with a blank keeps its
// folder across a save and a load. The first line is the root; a TAB line is a
// dictionary, any other a folder.
std::vector<TreeFileNode> ParseTreeOutline(const QStringList &tempLines);

// Makes sure line 0 is the root: a file that is empty or whose first line is
// anything but the root's caption (a dictionary, or the folder of new
// dictionaries put into an empty tree) gets the root line in front.
// Returns true when it changed the lines.
bool RepairTreeLines(StringList &treeLines);

// The lines to save for the nodes (in display order, node 0 first): the root's
// caption is always "Все словари"; a dictionary becomes TAB + name + "=" + its
// own folder, or when that is not known the folder `treeLines` gives for its
// name; anything else its text alone, whatever its depth. No nodes, no lines.
// Two dictionaries of the same name so keep their two folders. `ownFolders`
// holds node i's own folder at i, empty where it is not known.
QStringList SavedTreeLines(const std::vector<TreeFileNode> &nodes, const StringList &treeLines,
                           const QStringList &ownFolders = {});

// The tree control: nodes in display order, with their kinds in a data role.
namespace TreeNodes {
constexpr int KindRole = Qt::UserRole + 1;

constexpr int FolderRole = Qt::UserRole + 2;

TreeNodeKind kind(const QTreeWidgetItem *item);
void setKind(QTreeWidgetItem *item, TreeNodeKind kind);
// A dictionary node's folder, from the line it was loaded from.
QString folder(const QTreeWidgetItem *item);

// Every node, collapsed children included, in display order.
std::vector<QTreeWidgetItem *> all(const QTreeWidget *tree);
int count(const QTreeWidget *tree);
// Position in that order, -1 for none.
int absoluteIndex(const QTreeWidget *tree, const QTreeWidgetItem *item);
QTreeWidgetItem *at(const QTreeWidget *tree, int index);
} // namespace TreeNodes

// Writes the display copy to `treeTempPath` (a write that fails is shown,
// and the tree filled all the same) and fills the tree control from it;
// every dictionary node keeps the folder of its own line.
void LoadDictionaryTree(QTreeWidget *tree, const StringList &treeLines, const QString &treeTempPath);

// The lines of the tree file for the tree control as it stands; none for an
// empty tree.
QStringList TreeFileLines(const QTreeWidget *tree, const StringList &treeLines);

// Writes the tree control back to the tree file; an empty tree writes nothing.
void SaveDictionaryTree(const QTreeWidget *tree, const StringList &treeLines, const QString &treeViewPath);

} // namespace vocab
