#include "DictionaryTree.h"

#include "ShellTexts.h"
#include "TestSupport.h"

#include <QTreeWidget>

using namespace vocab;

namespace {

const QString Root = texts::RootNodeCaption;

struct Shape {
    QString text;
    int depth;
    TreeNodeKind kind;
    bool operator==(const Shape &) const = default;
};

std::vector<Shape> shapeOf(const QTreeWidget &tree)
{
    std::vector<Shape> out;
    for (QTreeWidgetItem *item : TreeNodes::all(&tree)) {
        int depth = 0;
        for (auto *p = item->parent(); p; p = p->parent())
            ++depth;
        out.push_back({item->text(0), depth, TreeNodes::kind(item)});
    }
    return out;
}

void PrintTo(const Shape &s, std::ostream *os) { *os << s.text.toStdString() << '/' << s.depth << '/' << s.kind; }

} // namespace

TEST(DictionaryTreeLoad, OneNodePerLineWithKindsFromTheLines)
{
    QTemporaryDir dir;
    const StringList lines{Root, u"Мои"_qs, u"\tАнгло-русский=engrus"_qs, u"\tТолковый=tolk"_qs, "", u"  Пробел"_qs, u"\t Отступ=indent"_qs};
    QTreeWidget tree;
    LoadDictionaryTree(&tree, lines, dir.filePath("TreeTemp.trv"));

    EXPECT_EQ(ListFile::read(dir.filePath("TreeTemp.trv")),
              (QStringList{Root, u"Мои"_qs, u"\tАнгло-русский"_qs, u"\tТолковый"_qs, "", u"  Пробел"_qs, u"\t Отступ"_qs}));
    const std::vector<Shape> expected{{Root, 0, tnkRoot},
                                      {u"Мои"_qs, 0, tnkFolder},
                                      {u"Англо-русский"_qs, 1, tnkDictionary},
                                      {u"Толковый"_qs, 1, tnkDictionary},
                                      {"", 0, tnkFolder},
                                      {u"  Пробел"_qs, 0, tnkFolder},
                                      {u" Отступ"_qs, 1, tnkDictionary}};
    EXPECT_EQ(shapeOf(tree), expected);
}

TEST(DictionaryTreeLoad, DictionaryBeforeAnyFolderBelongsToTheRoot)
{
    QTemporaryDir dir;
    QTreeWidget tree;
    LoadDictionaryTree(&tree, StringList{Root, u"\tА=a"_qs, u"\t\tБ=b"_qs}, dir.filePath("t.trv"));
    const std::vector<Shape> expected{{Root, 0, tnkRoot}, {u"А"_qs, 1, tnkDictionary}, {u"Б"_qs, 2, tnkDictionary}};
    EXPECT_EQ(shapeOf(tree), expected);
}

TEST(DictionaryTreeSave, TwoLevelsFolderFromTreeLinesRootAlwaysNamed)
{
    const StringList treeLines{Root, u"\tАнгло=engrus"_qs, u"\tанГЛО=second"_qs};
    const std::vector<TreeFileNode> nodes{{0, u"Переименованный корень"_qs, tnkRoot},
                                          {0, u"Папка"_qs, tnkFolder},
                                          {1, u"Англо"_qs, tnkDictionary},
                                          {1, u"Вложенная папка"_qs, tnkFolder},
                                          {2, u"англо"_qs, tnkDictionary},
                                          {1, u"Без строки"_qs, tnkDictionary}};
    EXPECT_EQ(SavedTreeLines(nodes, treeLines),
              (QStringList{Root, u"Папка"_qs, u"\tАнгло=engrus"_qs, u"Вложенная папка"_qs, u"\tангло=engrus"_qs, u"\tБез строки="_qs}));
    EXPECT_EQ(SavedTreeLines({{0, Root, tnkRoot}}, treeLines), QStringList{Root});
    EXPECT_TRUE(SavedTreeLines({}, treeLines).isEmpty());
}

TEST(DictionaryTreeSave, EmptyTreeLeavesTheFileAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("TreeView.trv");
    ListFile::write(path, {Root, "x"});
    QTreeWidget tree;
    SaveDictionaryTree(&tree, {}, path);
    EXPECT_EQ(ListFile::read(path), (QStringList{Root, "x"}));
}

TEST(DictionaryTreeRoundTrip, LoadThenSaveGivesTheSameBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("TreeView.trv");
    const StringList lines{Root, u"Мои словари"_qs, u"\tАнгло-русский=engrus"_qs, u"\t Пробел в начале=space"_qs,
                           texts::NewDictionariesFolder, u"\tТолковый=tolk"_qs, ""};
    ListFile::write(path, lines);
    const QByteArray before = vocab::test::readBytes(path);
    QTreeWidget tree;
    LoadDictionaryTree(&tree, lines, dir.filePath("TreeTemp.trv"));
    SaveDictionaryTree(&tree, lines, path);
    EXPECT_EQ(vocab::test::hex(vocab::test::readBytes(path)), vocab::test::hex(before));
}

TEST(DictionaryTreeRepair, RootLineIsPutInFront)
{
    struct Case { StringList in; StringList out; bool changed; };
    const std::vector<Case> cases{
        {{}, {Root}, true},
        {{u"\tА=a"_qs}, {Root, u"\tА=a"_qs}, true},
        {{texts::NewDictionariesFolder, u"\tА=a"_qs}, {Root, texts::NewDictionariesFolder, u"\tА=a"_qs}, true},
        {{Root, u"П"_qs}, {Root, u"П"_qs}, false},
    };
    for (Case c : cases) {
        EXPECT_EQ(RepairTreeLines(c.in), c.changed);
        EXPECT_EQ(c.in, c.out);
    }
}

TEST(TreeNodesIndex, AbsoluteOrderCountsCollapsedChildren)
{
    QTreeWidget tree;
    auto *root = new QTreeWidgetItem(&tree, {Root});
    auto *folder = new QTreeWidgetItem(&tree, {"F"});
    auto *child = new QTreeWidgetItem(folder, {"D"});
    folder->setExpanded(false);
    EXPECT_EQ(TreeNodes::count(&tree), 3);
    EXPECT_EQ(TreeNodes::absoluteIndex(&tree, root), 0);
    EXPECT_EQ(TreeNodes::absoluteIndex(&tree, child), 2);
    EXPECT_EQ(TreeNodes::at(&tree, 1), folder);
    EXPECT_EQ(TreeNodes::at(&tree, 3), nullptr);
}
