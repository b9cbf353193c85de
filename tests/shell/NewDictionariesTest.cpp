// Reconciling the tree with the dictionary folders under "dic", and where new
// dictionaries are put in it.
#include "NewDictionaries.h"

#include "DictionaryTree.h"
#include "InstallFixtures.h"

#include <QTreeWidget>

#include <algorithm>

using namespace vocab;
using namespace vocab::test;
using namespace Qt::StringLiterals;

TEST(TreeReconciliation, TreeLinesAgainstTheFoldersFound)
{
    struct Case {
        const char *what;
        StringList tree;
        std::vector<DictionaryEntry> found;
        StringList treeAfter;
        std::vector<DictionaryEntry> newAfter;
        int folderIndex;
    };
    const std::vector<Case> cases{
        {"new folders", {Root, u"Мои"_s}, {{u"А"_s, "a"}, {u"Б"_s, "b"}}, {Root, u"Мои"_s}, {{u"А"_s, "a"}, {u"Б"_s, "b"}}, 0},
        {"a folder already in the tree", {Root, u"Мои"_s, u"\tА=a"_s}, {{u"А"_s, "a"}, {u"Б"_s, "b"}},
         {Root, u"Мои"_s, u"\tА=a"_s}, {{u"Б"_s, "b"}}, 0},
        {"the tree's own caption wins over the description's", {Root, u"\tПереименован=a"_s}, {{u"А"_s, "a"}},
         {Root, u"\tПереименован=a"_s}, {}, 0},
        {"a vanished folder", {Root, u"Мои"_s, u"\tА=a"_s, u"\tПропал=gone"_s}, {{u"А"_s, "a"}},
         {Root, u"Мои"_s, u"\tА=a"_s}, {}, 0},
        {"no folder at all", {Root, u"Мои"_s, u"\tА=a"_s}, {}, {Root, u"Мои"_s}, {}, 0},
        {"folders compare with case", {Root, u"\tА=ENG"_s}, {{u"А"_s, "eng"}}, {Root}, {{u"А"_s, "eng"}}, 0},
        {"two lines of one folder: the lower stays", {Root, u"\tА=a"_s, u"\tА2=a"_s}, {{u"А"_s, "a"}},
         {Root, u"\tА2=a"_s}, {}, 0},
        // A line with an empty folder, or with none, matches nothing: it goes
        // and no dictionary found is lost for it.
        {"empty folder, no folder", {Root, u"\tX="_s, u"\tY"_s}, {{u"А"_s, "a"}}, {Root}, {{u"А"_s, "a"}}, 0},
        {"empty folder, nothing found", {Root, u"\tX="_s}, {}, {Root}, {}, 0},
        {"two folders of one display name", {Root, u"\tД=d1"_s, u"\tД=d2"_s}, {{u"Д"_s, "d1"}, {u"Д"_s, "d2"}, {u"Д"_s, "d3"}},
         {Root, u"\tД=d1"_s, u"\tД=d2"_s}, {{u"Д"_s, "d3"}}, 0},
        {"a name with = as installed", {Root, u"\tа-б=x"_s}, {{u"а=б"_s, "x"}}, {Root, u"\tа-б=x"_s}, {}, 0},
        {"a name with = split at its first =", {Root, u"\tа=б=x"_s}, {{u"а=б"_s, "x"}}, {Root}, {{u"а=б"_s, "x"}}, 0},
        {"new dictionaries' folder with children", {Root, u"Мои"_s, NewFolder, u"\tА=a"_s}, {{u"А"_s, "a"}},
         {Root, u"Мои"_s, NewFolder, u"\tА=a"_s}, {}, 3},
        {"new dictionaries' folder, last line", {Root, u"\tА=a"_s, NewFolder}, {{u"А"_s, "a"}}, {Root, u"\tА=a"_s}, {}, 0},
        {"new dictionaries' folder before a folder", {Root, NewFolder, u"Мои"_s, u"\tА=a"_s}, {{u"А"_s, "a"}},
         {Root, u"Мои"_s, u"\tА=a"_s}, {}, 0},
        {"its children all vanished", {Root, NewFolder, u"\tПропал=gone"_s}, {}, {Root}, {}, 0},
        {"only the first such folder counts", {Root, NewFolder, u"Мои"_s, NewFolder, u"\tА=a"_s}, {{u"А"_s, "a"}},
         {Root, u"Мои"_s, NewFolder, u"\tА=a"_s}, {}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        StringList tree = c.tree;
        std::vector<DictionaryEntry> found = c.found;
        int dropped = -1;
        EXPECT_EQ(ReconcileTreeLines(tree, found, &dropped), c.folderIndex);
        EXPECT_EQ(tree, c.treeAfter);
        EXPECT_EQ(found, c.newAfter);
        const auto dictionaryLines = [](const QStringList &lines) {
            return int(std::count_if(lines.begin(), lines.end(), [](const QString &l) { return l.startsWith(u'\t'); }));
        };
        EXPECT_EQ(dropped, dictionaryLines(c.tree) - dictionaryLines(c.treeAfter));
    }
}

TEST(TreeReconciliation, DictionariesAreTheFoldersWithADisplayName)
{
    FixtureFolder dir;
    dir.writeAbout("zeta", u"Последний"_s);
    dir.writeAbout("Alpha", u"Первый"_s);
    dir.writeAbout("beta", u"Второй"_s);
    dir.writeList("dic/none/none.ogl", {u"СЛОВО"_s});
    dir.writeList("dic/oneline/about.info", {u"Только описание"_s});
    dir.writeList("dic/emptyname/about.info", {u"Описание"_s, QString(), u"Третья строка"_s});
    dir.writeAbout("with.dot", u"С точкой"_s);
    dir.writeAbout(".hidden", u"Скрытый"_s);
    dir.writeList("dic/upper/ABOUT.INFO", {u"Описание"_s, u"Заглавными"_s});
    writeBytes(dir.path("dic/plainfile"), "not a folder");
    const std::vector<DictionaryEntry> expected{
        {u"Первый"_s, "Alpha"}, {u"Второй"_s, "beta"}, {u"Заглавными"_s, "upper"}, {u"Последний"_s, "zeta"}};
    EXPECT_EQ(DictionaryFoldersUnder(dir.base()), expected);
    EXPECT_TRUE(DictionaryFoldersUnder(dir.path("missing")).empty());
}

TEST(TreeReconciliation, FindNewDictionariesReadsTheTreeFileAndRepairsIt)
{
    FixtureFolder dir;
    const ConfigPaths paths(dir.base());
    dir.writeAbout("a", u"А"_s);
    dir.writeAbout("b", u"Б"_s);
    // A tree file that lost its root line.
    dir.writeList("ConfigFiles/TreeView.trv", {NewFolder, u"\tА=a"_s, u"\tПропал=gone"_s});
    std::vector<DictionaryEntry> NewDictionaries;
    StringList TreeLines;
    EXPECT_EQ(FindNewDictionaries(paths, NewDictionaries, TreeLines), 2);
    EXPECT_EQ(TreeLines, (StringList{Root, NewFolder, u"\tА=a"_s}));
    EXPECT_EQ(NewDictionaries, (std::vector<DictionaryEntry>{{u"Б"_s, "b"}}));
}

TEST(NewDictionaryPlacement, UnderTheNewDictionariesFolderLastPlacedOnTop)
{
    StringList tree{Root, u"Мои"_s, u"\tС=c"_s};
    int index = 0;
    PlaceNewDictionary(tree, index, {u"А"_s, "a"});
    PlaceNewDictionary(tree, index, {u"Б"_s, "b"});
    EXPECT_EQ(tree, (StringList{Root, u"Мои"_s, u"\tС=c"_s, NewFolder, u"\tБ=b"_s, u"\tА=a"_s}));
    EXPECT_EQ(index, 4);

    // A folder that has children gets new ones above them.
    StringList withFolder{Root, NewFolder, u"\tС=c"_s, u"Мои"_s};
    index = 2;
    PlaceNewDictionary(withFolder, index, {u"А"_s, "a"});
    PlaceNewDictionary(withFolder, index, {u"Б"_s, "b"});
    EXPECT_EQ(withFolder, (StringList{Root, NewFolder, u"\tБ=b"_s, u"\tА=a"_s, u"\tС=c"_s, u"Мои"_s}));
}

TEST(NewDictionaryPlacement, TreeLineKeepsTheFolderWhateverTheName)
{
    EXPECT_EQ(DictionaryTreeLine({u"Англо-русский"_s, "engrus"}), u"\tАнгло-русский=engrus"_s);
    EXPECT_EQ(DictionaryTreeLine({u"a=b=c"_s, "x"}), u"\ta-b-c=x"_s);
    EXPECT_EQ(DictionaryTreeLine({u"\tС табуляцией\t"_s, "t"}), u"\t С табуляцией =t"_s);
    EXPECT_EQ(StringList::valuePart(DictionaryTreeLine({u"a=b"_s, "x"})), "x");
}

TEST(NewDictionaryPlacement, LongNamesAreCutAfter38Characters)
{
    const QString name38 = QString(38, u'Я');
    EXPECT_EQ(ShortDictionaryName(name38), name38);
    EXPECT_EQ(ShortDictionaryName(name38 + u"Ы"_s), name38 + "...");
    EXPECT_EQ(ShortDictionaryName(QString()), QString());
    // Never half a character.
    const QString name37 = QString(37, u'Я');
    EXPECT_EQ(ShortDictionaryName(name37 + u"😀Ы"_s), name37 + "...");
    EXPECT_EQ(ShortDictionaryName(name37 + u"и\u0306Ы"_s), name37 + "...");
    EXPECT_EQ(ShortDictionaryName(name38 + u"\u0306"_s), name38.chopped(1) + "...");
    EXPECT_EQ(ShortDictionaryName(QString(20, u'x').replace(u"x"_s, u"😀"_s)), QString(19, u'x').replace(u"x"_s, u"😀"_s) + "...");
}

// Two folders whose descriptions give one name: the tree keeps both folders
// across a save, so the next start finds nothing new and installs nothing.
TEST(NewDictionaryPlacement, DictionariesOfOneNameKeepTheirFoldersAcrossASave)
{
    FixtureFolder dir;
    const ConfigPaths paths(dir.base());
    dir.writeAbout("first", u"Словарь"_s);
    dir.writeAbout("second", u"СЛОВАРЬ"_s);
    dir.writeList("ConfigFiles/TreeView.trv", {Root});
    std::vector<DictionaryEntry> found;
    StringList TreeLines;
    int index = FindNewDictionaries(paths, found, TreeLines);
    ASSERT_EQ(found.size(), 2u);
    for (const DictionaryEntry &d : found)
        PlaceNewDictionary(TreeLines, index, d);
    ListFile::write(paths.treeView, TreeLines);
    const QByteArray installed = readBytes(paths.treeView);

    QTreeWidget tree;
    LoadDictionaryTree(&tree, TreeLines, paths.treeTemp);
    SaveDictionaryTree(&tree, TreeLines, paths.treeView);
    EXPECT_EQ(hex(readBytes(paths.treeView)), hex(installed));
    EXPECT_EQ(FindNewDictionaries(paths, found, TreeLines), 2);
    EXPECT_TRUE(found.empty());
}
