#include "TreeEdit.h"

#include "AppError.h"
#include "ShellTexts.h"
#include "TestSupport.h"
#include "TreeNodeDelegate.h"

#include <QSignalSpy>
#include <QTreeWidget>

using namespace vocab;

namespace {

const QString Root = texts::RootNodeCaption;

// [root, F1{D1, D2}, F2{}, F3{D3}]: absolute indexes 0..6.
const QStringList Sample{Root, "F1", "\tD1=d1", "\tD2=d2", "F2", "F3", "\tD3=d3"};

class TreeEdit : public ::testing::Test {
protected:
    void load(const QStringList &lines)
    {
        LoadDictionaryTree(&tree, StringList(lines), dir.filePath("TreeTemp.trv"));
        tree.expandAll();
    }

    QTreeWidgetItem *node(const QString &caption)
    {
        const auto found = tree.findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << caption.toStdString();
        return found.value(0);
    }

    // One line per node: a TAB for each level of depth, then the caption.
    QStringList outline() const
    {
        QStringList out;
        for (const QTreeWidgetItem *item : TreeNodes::all(&tree)) {
            QString line = item->text(0);
            for (auto *p = item->parent(); p; p = p->parent())
                line.prepend(u'\t');
            out.append(line);
        }
        return out;
    }

    QTemporaryDir dir;
    QTreeWidget tree;
};

} // namespace

TEST_F(TreeEdit, MenuStatesFollowTheNodeAndItsPlace)
{
    load(Sample);
    struct Case {
        QString node;
        bool dictionary, folder, moves, up, down, checked;
    };
    // The grey list is compared with letter case: "d1" does not check D1.
    const QStringList gray{"D2", "d1", "F2"};
    const std::vector<Case> cases{
        {Root, false, false, false, true, true, false},
        {"F1", false, true, true, false, true, false},  // node 1
        {"D1", true, false, true, false, true, false},  // node 2, a dictionary
        {"D2", true, false, true, true, true, true},
        {"F2", false, true, true, true, true, false},   // grey-listed, but a folder
        {"F3", false, true, true, true, false, false},  // the last folder, a dictionary below it
        {"D3", true, false, true, true, false, false},  // the last node
    };
    for (const Case &c : cases) {
        const TreeMenuState s = ComputeTreeMenuState(&tree, node(c.node), gray);
        const std::string at = c.node.toStdString();
        EXPECT_EQ(s.about, c.dictionary) << at;
        EXPECT_EQ(s.deleteDic, c.dictionary) << at;
        EXPECT_EQ(s.notSearch, c.dictionary) << at;
        EXPECT_EQ(s.rename, c.folder) << at;
        EXPECT_EQ(s.deleteFolder, c.folder) << at;
        EXPECT_TRUE(s.newFolder) << at;
        EXPECT_EQ(s.moves, c.moves) << at;
        EXPECT_EQ(s.upEnabled, c.up) << at;
        EXPECT_EQ(s.downEnabled, c.down) << at;
        EXPECT_EQ(s.notSearchChecked, c.checked) << at;
    }
}

TEST_F(TreeEdit, ArrowMovesKeepTheShapeAtEveryEdge)
{
    const QStringList withFullFolderAbove{Root, "F1", "\tD1=d1", "\tD2=d2", "F3", "\tD3=d3"};
    enum Direction { Up, Down };
    struct Case {
        QStringList lines;
        QString node;
        Direction direction;
        QStringList expected; // empty: nothing moves
        bool throws = false;
    };
    const std::vector<Case> cases{
        // Dictionaries.
        {Sample, "D2", Up, {Root, "F1", "\tD2", "\tD1", "F2", "F3", "\tD3"}},
        {Sample, "D3", Up, {Root, "F1", "\tD1", "\tD2", "F2", "\tD3", "F3"}}, // into the empty folder above
        {withFullFolderAbove, "D3", Up, {Root, "F1", "\tD1", "\tD2", "\tD3", "F3"}}, // last of the folder above
        {Sample, "D1", Up, {}},  // the root above the first folder: no dictionary goes beside it
        {Sample, "D1", Down, {Root, "F1", "\tD2", "\tD1", "F2", "F3", "\tD3"}},
        {Sample, "D2", Down, {Root, "F1", "\tD1", "F2", "\tD2", "F3", "\tD3"}}, // first of the next folder
        {withFullFolderAbove, "D2", Down, {Root, "F1", "\tD1", "F3", "\tD2", "\tD3"}},
        {Sample, "D3", Down, {}, true}, // the last node
        // Folders move with their dictionaries.
        {Sample, "F2", Up, {Root, "F2", "F1", "\tD1", "\tD2", "F3", "\tD3"}},
        {Sample, "F3", Up, {Root, "F1", "\tD1", "\tD2", "F3", "\tD3", "F2"}},
        {Sample, "F1", Up, {}, true}, // node 1
        {Sample, "F1", Down, {Root, "F2", "F1", "\tD1", "\tD2", "F3", "\tD3"}},
        {Sample, "F2", Down, {Root, "F1", "\tD1", "\tD2", "F3", "\tD3", "F2"}},
        {Sample, "F3", Down, {}}, // no folder after it
        // The root stays first.
        {Sample, Root, Up, {}, true},
        {Sample, Root, Down, {}},
    };
    for (const Case &c : cases) {
        load(c.lines);
        const QStringList before = outline();
        QTreeWidgetItem *moved = node(c.node);
        tree.setCurrentItem(moved);
        QSignalSpy changes(&tree, &QTreeWidget::currentItemChanged);
        const auto move = [&] { c.direction == Up ? MoveNodeUp(&tree, moved) : MoveNodeDown(&tree, moved); };
        const std::string at = c.node.toStdString() + (c.direction == Up ? " up" : " down");
        if (c.throws) {
            EXPECT_THROW(move(), AppError) << at;
        } else {
            EXPECT_NO_THROW(move()) << at;
        }
        EXPECT_EQ(outline(), c.expected.isEmpty() ? before : c.expected) << at;
        EXPECT_EQ(tree.currentItem(), moved) << at;
        EXPECT_EQ(changes.count(), 0) << at;
        if (moved->parent()) {
            EXPECT_TRUE(moved->parent()->isExpanded()) << at;
        }
    }
}

TEST_F(TreeEdit, MovedFolderKeepsItsExpandedState)
{
    load(Sample);
    node("F1")->setExpanded(false);
    tree.setCurrentItem(node("D2"));
    MoveNodeUp(&tree, node("F2"));
    EXPECT_FALSE(node("F1")->isExpanded());
    EXPECT_EQ(tree.currentItem(), node("D2")) << "the selection stays where it was";
}

TEST_F(TreeEdit, DropTargets)
{
    struct Case {
        QString dragged, target;
        QStringList expected; // empty: refused, or nothing moves
        bool accepted;
    };
    const std::vector<Case> cases{
        {"D2", "D1", {Root, "F1", "\tD2", "\tD1", "F2", "F3", "\tD3"}, true},   // before the target
        {"D1", "D3", {Root, "F1", "\tD2", "F2", "F3", "\tD1", "\tD3"}, true},   // joins the target's folder
        {"D1", "F3", {Root, "F1", "\tD2", "F2", "F3", "\tD3", "\tD1"}, true},   // last into a folder
        {"D1", "F2", {Root, "F1", "\tD2", "F2", "\tD1", "F3", "\tD3"}, true},
        {"F3", "F1", {Root, "F3", "\tD3", "F1", "\tD1", "\tD2", "F2"}, true},   // a folder before a folder
        {"D1", "D1", {}, true}, // onto itself: accepted, stays
        {"F2", "F2", {}, true},
        {"F1", "D3", {}, false}, // a folder onto a dictionary
        {"F1", "D1", {}, false}, // ... its own
        {Root, "F1", {}, false},
        {"D1", Root, {}, false},
    };
    for (const Case &c : cases) {
        load(Sample);
        const QStringList before = outline();
        const std::string at = c.dragged.toStdString() + " onto " + c.target.toStdString();
        EXPECT_EQ(DropAccepted(node(c.dragged), node(c.target)), c.accepted) << at;
        DropNode(&tree, node(c.dragged), node(c.target));
        EXPECT_EQ(outline(), c.expected.isEmpty() ? before : c.expected) << at;
    }
    load(Sample);
    EXPECT_FALSE(DropAccepted(node("D1"), nullptr));
}

TEST_F(TreeEdit, NothingDropsIntoItsOwnSubtree)
{
    // The tree file can nest a dictionary under a dictionary.
    load({Root, "\tA=a", "\t\tB=b"});
    EXPECT_FALSE(DropAccepted(node("A"), node("B")));
    EXPECT_TRUE(DropAccepted(node("B"), node("A")));
    MoveNode(&tree, node("A"), node("B"), AttachMode::AddChild);
    EXPECT_EQ(outline(), (QStringList{Root, "\tA", "\t\tB"}));
}

TEST_F(TreeEdit, NewFolderGoesLastAtTheTopCollapsedTreeAndAll)
{
    load(Sample);
    QSignalSpy changes(&tree, &QTreeWidget::currentItemChanged);
    QTreeWidgetItem *folder = AddNewFolder(&tree);
    EXPECT_EQ(outline(), (QStringList{Root, "F1", "\tD1", "\tD2", "F2", "F3", "\tD3", NewFolderCaption}));
    EXPECT_EQ(folder->text(0), u"Новый каталог"_qs);
    EXPECT_EQ(TreeNodes::kind(folder), tnkFolder);
    EXPECT_EQ(folder->parent(), nullptr);
    EXPECT_EQ(tree.currentItem(), folder);
    EXPECT_EQ(changes.count(), 1) << "selecting it opens it";
    EXPECT_FALSE(node("F1")->isExpanded());
    EXPECT_FALSE(node("F3")->isExpanded());
}

TEST_F(TreeEdit, OnlyEmptyFoldersAreDeleted)
{
    load(Sample);
    EXPECT_FALSE(DeleteEmptyFolder(&tree, node("F1")));
    EXPECT_EQ(outline(), (QStringList{Root, "F1", "\tD1", "\tD2", "F2", "F3", "\tD3"}));
    EXPECT_TRUE(DeleteEmptyFolder(&tree, node("F2")));
    EXPECT_EQ(outline(), (QStringList{Root, "F1", "\tD1", "\tD2", "F3", "\tD3"}));
    EXPECT_EQ(OnlyEmptyFoldersMessage, u"Удалять можно только пустые каталоги !"_qs);
}

TEST(GrayListToggle, CheckedTakesTheFirstEqualEntryUncheckedAppends)
{
    struct Case {
        QStringList before;
        QString name;
        bool checked;
        QStringList after;
    };
    const std::vector<Case> cases{
        {{}, "A", false, {"A"}},
        {{"A"}, "A", false, {"A", "A"}}, // no test for duplicates
        {{"A", "B", "A"}, "A", true, {"B", "A"}},
        {{"a"}, "A", true, {"a"}}, // letter case counts
    };
    for (Case c : cases) {
        ToggleGrayListed(c.before, c.name, c.checked);
        EXPECT_EQ(c.before, c.after) << c.name.toStdString();
    }
}

TEST(NodeDrawing, GreyListedTextAndSilverSelection)
{
    const QStringList gray{"Серый"};
    QTreeWidget tree;
    new QTreeWidgetItem(&tree, {u"Серый"_qs});
    new QTreeWidgetItem(&tree, {u"серый"_qs});
    TreeNodeDelegate delegate(gray, &tree);
    struct Case {
        int row;
        bool selected;
        QColor text;
    };
    const QColor grey(0x80, 0x80, 0x80);
    const QColor silver(0xC0, 0xC0, 0xC0);
    for (const Case &c : {Case{0, false, grey}, Case{0, true, grey}, Case{1, true, QColor()}, Case{1, false, QColor()}}) {
        const NodeLook look = LookOfNode(tree.topLevelItem(c.row)->text(0), c.selected, gray);
        EXPECT_EQ(look.text, c.text) << c.row;
        EXPECT_EQ(look.background, c.selected ? silver : QColor()) << c.row;

        QStyleOptionViewItem option;
        option.initFrom(&tree);
        if (c.selected)
            option.state |= QStyle::State_Selected;
        delegate.initStyleOption(&option, tree.model()->index(c.row, 0));
        if (c.text.isValid()) {
            EXPECT_EQ(option.palette.color(QPalette::Text), grey) << c.row;
        }
        if (c.selected) {
            for (const auto group : {QPalette::Active, QPalette::Inactive}) {
                EXPECT_EQ(option.palette.color(group, QPalette::Highlight), silver) << c.row;
                EXPECT_EQ(option.palette.color(group, QPalette::HighlightedText), c.text.isValid() ? grey : option.palette.color(QPalette::Text)) << c.row;
            }
        }
    }
}

TEST(NodeCaptionWithoutControlsTest, DropsControlCharactersOnly)
{
    struct Case {
        QString typed;
        QString kept;
    };
    const Case cases[] = {
        {u"Мои словари"_qs, u"Мои словари"_qs},
        {u"\tПапка"_qs, u"Папка"_qs},
        {u"Мои\r\nсловари\r\n"_qs, u"Моисловари"_qs},
        {u"a\tb\u0001c\u007fd\u0085e"_qs, u"abcde"_qs},
        {u"строка\u2028абзац\u2029"_qs, u"строкаабзац"_qs},
        {u" = с пробелами = "_qs, u" = с пробелами = "_qs},
        {u"\r\n\t"_qs, QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NodeCaptionWithoutControls(c.typed), c.kept) << c.typed.toStdString();
}
