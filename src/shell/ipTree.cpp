// The main window's tree of dictionaries: its menu, folders, moves, drag and
// drop, the grey list, and deleting a dictionary.
#include "ip.h"

#include "DictPath.h"
#include "DictionaryDeletion.h"
#include "DictionaryFolder.h"
#include "ErrorHandler.h"
#include "EventHook.h"
#include "IniFile.h"
#include "MessageBoxes.h"
#include "TreeNodeDelegate.h"
#include "TreeNodeDrag.h"
#include "UnitDelete.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QShortcut>
#include <QStyle>
#include <QTimer>

namespace vocab {

void TForm1::setUpTree()
{
    auto *delegate = new TreeNodeDelegate(GrayList, TreeView1);
    delegate->setEditedHandler([this](const QModelIndex &, const QString &text) {
        guarded([&] { TreeView1Edited(TreeView1->currentItem(), text); });
    });
    TreeView1->setItemDelegate(delegate);
    // The view paints the branch area left of a selected node itself, in its
    // own highlight colour: that is the selection's silver too, with or
    // without the focus, so that the whole row is one colour.
    QPalette palette = TreeView1->palette();
    const QColor selection = LookOfNode(QString(), true, {}).background;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::Highlight, selection);
    TreeView1->setPalette(palette);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    SetTreeReadOnly(TreeView1, true);

    TreeMenu = new QMenu(this);
    const auto add = [this](const char *name, const QString &caption, void (TForm1::*handler)()) {
        QAction *action = TreeMenu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
        return action;
    };
    M_about = add("M_about", QStringLiteral("О словаре"), &TForm1::CM_aboutClick);
    Mrename = add("Mrename", QStringLiteral("Переименовать"), &TForm1::CM_RenameClick);
    // The first letter is a Latin C, as the caption has always been written.
    M_NewKatalog = add("M_NewKatalog", QStringLiteral("C") + QStringLiteral("оздать каталог"), &TForm1::CM_NewKatalogClick);
    M_DeleteKatalog = add("M_DeleteKatalog", QStringLiteral("Удалить каталог"), &TForm1::CM_DeleteKatalogClick);
    M_DeleteDic = add("M_DeleteDic", QStringLiteral("Удалить словарь"), &TForm1::CM_DeleteDicClick);
    M_notSearch = add("M_notSearch", QStringLiteral("Игнорировать общий поиск"), &TForm1::CM_notSearchClick);
    M_notSearch->setCheckable(true);
    M_Arrow_Up = add("M_Arrow_Up", QStringLiteral("Переместить вверх"), &TForm1::CM_Arrow_UpClick);
    M_Arrow_down = add("M_Arrow_down", QStringLiteral("Переместить вниз"), &TForm1::CM_Arrow_downClick);
    M_Arrow_Up->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    M_Arrow_down->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    connect(TreeMenu, &QMenu::aboutToShow, this, [this] { guarded([this] { TreeMenuPopup(); }); });

    // The arrows' shortcuts act while the tree has the focus, with the states
    // the menu was last opened with, whether the menu is open or not. The
    // menu's items only show them.
    const auto arrowShortcut = [this](QAction *item, Qt::Key key, bool TreeMenuState::*enabled, void (TForm1::*handler)()) {
        const QKeySequence keys(Qt::CTRL | key);
        item->setShortcut(keys);
        item->setShortcutContext(Qt::WidgetShortcut);
        item->setShortcutVisibleInContextMenu(true);
        auto *shortcut = new QShortcut(keys, TreeView1, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, enabled, handler] {
            if (m_treeMenuState.*enabled)
                guarded([this, handler] { (this->*handler)(); });
        });
    };
    arrowShortcut(M_Arrow_Up, Qt::Key_Up, &TreeMenuState::upEnabled, &TForm1::CM_Arrow_UpClick);
    arrowShortcut(M_Arrow_down, Qt::Key_Down, &TreeMenuState::downEnabled, &TForm1::CM_Arrow_downClick);

    Timer_TreeMenu = new QTimer(this);
    Timer_TreeMenu->setInterval(200);
    connect(Timer_TreeMenu, &QTimer::timeout, this, [this] { guarded([this] { Timer_TreeMenuTimer(); }); });

    // Right presses are the menu's: the tree neither selects nor clears with
    // them on its own. A double click is the tree's wherever it lands, on a
    // node or on the empty space beside and below the nodes; the view goes on
    // to handle it as well.
    new EventHook(TreeView1->viewport(), [this](QEvent *event) {
        if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (event->type() == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
            guarded([this] { TreeView1DblClick(); });
            return false;
        }
        if (mouse->button() != Qt::RightButton)
            return false;
        guarded([&] { TreeView1MouseDown(mouse->button(), mouse->position().toPoint()); });
        return true;
    });

    auto *drag = new TreeNodeDrag(TreeView1);
    drag->dragOver = [this](QTreeWidgetItem *target) { return guarded([&] { return TreeView1DragOver(target); }, false); };
    drag->dragDrop = [this](QTreeWidgetItem *target) { guarded([&] { TreeView1DragDrop(target); }); };
}

void TForm1::TreeView1MouseDown(Qt::MouseButton button, QPoint pos)
{
    if (button != Qt::RightButton)
        return;
    QTreeWidgetItem *node = TreeView1->itemAt(pos);
    if (!node)
        return;
    TreeView1->setCurrentItem(node);
    TreeMenu->popup(TreeView1->viewport()->mapToGlobal(pos));
}

void TForm1::TreeMenuPopup()
{
    m_treeMenuState = ComputeTreeMenuState(TreeView1, TreeView1->currentItem(), GrayList);
    const TreeMenuState &s = m_treeMenuState;
    M_about->setVisible(s.about);
    Mrename->setVisible(s.rename);
    M_NewKatalog->setVisible(s.newFolder);
    M_DeleteKatalog->setVisible(s.deleteFolder);
    M_DeleteDic->setVisible(s.deleteDic);
    M_notSearch->setVisible(s.notSearch);
    M_notSearch->setChecked(s.notSearchChecked);
    M_Arrow_Up->setVisible(s.moves);
    M_Arrow_Up->setEnabled(s.upEnabled);
    M_Arrow_down->setVisible(s.moves);
    M_Arrow_down->setEnabled(s.downEnabled);
}

void TForm1::CM_RenameClick()
{
    StartInPlaceEdit(TreeView1, TreeView1->currentItem());
}

void TForm1::TreeView1Edited(QTreeWidgetItem *node, const QString &text)
{
    // Any name is kept as typed, an empty one or one that is already taken
    // included; only the control characters a paste brings go.
    const QString plain = NodeCaptionWithoutControls(text);
    if (node && plain != text)
        node->setText(0, plain);
    SetTreeReadOnly(TreeView1, true);
}

void TForm1::CM_NewKatalogClick()
{
    AddNewFolder(TreeView1);
    // The selection has just opened the folder; its name is edited once that is done.
    Timer_TreeMenu->start();
}

void TForm1::Timer_TreeMenuTimer()
{
    Timer_TreeMenu->stop();
    StartInPlaceEdit(TreeView1, TreeView1->currentItem());
}

void TForm1::CM_DeleteKatalogClick()
{
    QTreeWidgetItem *folder = TreeView1->currentItem();
    if (!folder || TreeNodes::kind(folder) != tnkFolder)
        return;
    if (!DeleteEmptyFolder(TreeView1, folder))
        ShowMessage(OnlyEmptyFoldersMessage);
}

void TForm1::CM_DeleteDicClick()
{
    QTreeWidgetItem *node = TreeView1->currentItem();
    if (!node || TreeNodes::kind(node) != tnkDictionary)
        return;
    const QString name = node->text(0);
    // The folder the viewer reads this node from. A name that the tree does
    // not tie to one folder under "dic" could stand for the whole of "dic":
    // nothing is asked and nothing deleted.
    const QString dictionaryDir = lookup.SelectedDictionaryDir();
    const QString folder = DictionaryFolderToDelete(ProgramDir(), dictionaryDir);
    // The messages name the dictionary as the tree shows it, markup and all.
    if (folder.isEmpty()) {
        ShowMessage(NoDictionaryFolderMessage(name), Qt::PlainText);
        return;
    }
    if (const QString refused = RefusedDeletionMessage(folder, DictPath::find(m_paths.dicDir, dictionaryDir), name);
        !refused.isEmpty()) {
        ShowMessage(refused, Qt::PlainText);
        return;
    }
    {
        TFormDelete FormDelete(name, this);
        if (FormDelete.exec() != TFormDelete::DeleteResult)
            return;
    }
    if (!DeleteDirectoryTree(folder, name))
        return;
    // The node leaves the tree, whose neighbour the tree then opens; the tree
    // file follows when the window closes. The combined list still holds the
    // dictionary's headwords until it is rebuilt.
    if (TreeNodes::absoluteIndex(TreeView1, node) >= 0)
        delete node;
    IniFile->WriteBool(QStringLiteral("List"), QStringLiteral("incomplete"), true);
}

void TForm1::CM_notSearchClick()
{
    const QTreeWidgetItem *node = TreeView1->currentItem();
    if (!node)
        return;
    ToggleGrayListed(GrayList, node->text(0), m_treeMenuState.notSearchChecked);
    TreeView1->viewport()->update();
}

bool TForm1::TreeView1DragOver(QTreeWidgetItem *target) const
{
    return DropAccepted(TreeView1->currentItem(), target);
}

void TForm1::TreeView1DragDrop(QTreeWidgetItem *target)
{
    DropNode(TreeView1, TreeView1->currentItem(), target);
}

void TForm1::CM_Arrow_UpClick()
{
    MoveNodeUp(TreeView1, TreeView1->currentItem());
}

void TForm1::CM_Arrow_downClick()
{
    MoveNodeDown(TreeView1, TreeView1->currentItem());
}

void TForm1::selectFirstNodeThenRoot()
{
    // Each selection opens its node: node 1, then the root.
    if (QTreeWidgetItem *first = TreeNodes::at(TreeView1, 1))
        TreeView1->setCurrentItem(first);
    if (QTreeWidgetItem *root = TreeNodes::at(TreeView1, 0))
        TreeView1->setCurrentItem(root);
}

void TForm1::MM_unfoldClick()
{
    SetAllExpanded(TreeView1, true);
    selectFirstNodeThenRoot();
}

void TForm1::MM_foldClick()
{
    SetAllExpanded(TreeView1, false);
    selectFirstNodeThenRoot();
}

} // namespace vocab
