#pragma once

#include "DictionaryTree.h"

#include <QColor>
#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

namespace vocab {

// What the user does to the tree of dictionaries: moves, folders, the grey
// list. Plain functions over the tree control, so that the window only wires
// its events to them.
//
// The shape these keep: the root is node 0, folders are top-level nodes after
// it, dictionaries are children of a folder (or of the root, as the tree file
// allows). Positions are absolute indexes, collapsed children counted.

inline const QString NewFolderCaption = QStringLiteral("Новый каталог");
inline const QString OnlyEmptyFoldersMessage = QStringLiteral("Удалять можно только пустые каталоги !");

// Where a moved node goes relative to its target.
enum class AttachMode {
    Insert,        // the target's previous sibling
    AddChild,      // the target's last child
    AddChildFirst, // the target's first child
};

// Moves `node` with its children. The tree's signals stay quiet, so the
// change handler opens nothing; the node selected before stays selected, the
// moved node keeps its expanded state and its new parent is expanded. A node
// never moves onto itself or into its own subtree.
void MoveNode(QTreeWidget *tree, QTreeWidgetItem *node, QTreeWidgetItem *target, AttachMode mode);

// The tree menu's items as they are computed each time the menu opens.
struct TreeMenuState {
    // Visible items.
    bool about = false;        // "О словаре"
    bool rename = false;       // "Переименовать"
    bool newFolder = true;     // "Cоздать каталог"
    bool deleteFolder = false; // "Удалить каталог"
    bool deleteDic = false;    // "Удалить словарь"
    bool notSearch = false;    // "Игнорировать общий поиск"
    bool moves = false;        // "Переместить вверх" and "Переместить вниз"
    // Before the first opening everything is enabled, and the shortcuts act
    // with what the last opening left.
    bool upEnabled = true;
    bool downEnabled = true;
    bool notSearchChecked = false;
};

TreeMenuState ComputeTreeMenuState(const QTreeWidget *tree, const QTreeWidgetItem *selected, const QStringList &grayList);

// The arrows of the menu and their shortcuts. A neighbour that the move needs
// and that lies outside the tree (up on the root or on node 1, down on the last
// node) throws AppError and nothing moves. The root never moves, and nothing
// is put in front of it.
void MoveNodeUp(QTreeWidget *tree, QTreeWidgetItem *node);
void MoveNodeDown(QTreeWidget *tree, QTreeWidgetItem *node);

// Drag and drop inside the tree: may `dragged` be dropped on `target`?
bool DropAccepted(const QTreeWidgetItem *dragged, const QTreeWidgetItem *target);
// Drops `dragged` on `target` when that is accepted: a dictionary goes before
// a dictionary or last into a folder, a folder before a folder.
void DropNode(QTreeWidget *tree, QTreeWidgetItem *dragged, QTreeWidgetItem *target);

// Collapses the tree, adds "Новый каталог" as the last top-level node and
// selects it, which the change handler sees. Returns the new folder.
QTreeWidgetItem *AddNewFolder(QTreeWidget *tree);

// Deletes a folder without children; false, with the tree untouched, for one
// with children.
bool DeleteEmptyFolder(QTreeWidget *tree, QTreeWidgetItem *folder);

// The menu's "Игнорировать общий поиск": an item shown checked takes the first
// entry equal to `name` off the list, an unchecked one appends `name`.
void ToggleGrayListed(QStringList &grayList, const QString &name, bool shownChecked);

// Expands or collapses every node.
void SetAllExpanded(QTreeWidget *tree, bool expanded);

// The tree's in-place editing: while read-only, nothing starts an edit; the
// editor is opened only by StartInPlaceEdit.
void SetTreeReadOnly(QTreeWidget *tree, bool readOnly);
void StartInPlaceEdit(QTreeWidget *tree, QTreeWidgetItem *item);

// A node's name as the tree file can keep it: without control characters
// (CR, LF, TAB and the rest), which a paste brings along. A line break would
// split the node's line in the file, and a leading TAB turns a folder into a
// dictionary, so the tree would come back in another shape.
QString NodeCaptionWithoutControls(const QString &caption);

// How a node is drawn: grey text when its caption is on the grey list, a
// silver background when it is selected. Invalid colours keep the default.
struct NodeLook {
    QColor text;
    QColor background;
};
NodeLook LookOfNode(const QString &caption, bool selected, const QStringList &grayList);

} // namespace vocab
