#include "DictionaryFolder.h"
#include "OpenList.h"

#include "AppError.h"
#include "DictionaryFixtures.h"

using namespace vocab;
using namespace vocab::test;

namespace {

const QStringList kA{QStringLiteral("А"), QStringLiteral("АБАЖУР")};
const QStringList kB{QStringLiteral("БАК")};

class DictionaryFolderTest : public ::testing::Test {
protected:
    DictionaryFolder folder(const QString &name) const { return DictionaryFolder(tree.base(), name); }
    // The articles of a list open before.
    ListFileLines oldArticles()
    {
        tree.writeList(QStringLiteral("old.uvs"), {QStringLiteral("статья другого словаря")});
        return ListFileLines::Open(tree.path(QStringLiteral("old.uvs")));
    }

    FixtureFolder tree;
    OpenList list;
};

TEST_F(DictionaryFolderTest, WholeListWinsOverPerLetterFiles)
{
    tree.writePair(QStringLiteral("dic/both/both"), {QStringLiteral("ЦЕЛЫЙ")});
    tree.writePair(QStringLiteral("dic/both/base/1"), kA);
    const DictionaryFolder both = folder(QStringLiteral("both"));
    EXPECT_TRUE(both.IsWholeList());
    list.CurrentLetterFile = 7;
    LoadDictionaryLists(list, both);
    EXPECT_EQ(list.CurrentHeadwords.ToStringList(), QStringList{QStringLiteral("ЦЕЛЫЙ")});
    EXPECT_EQ(list.CurrentArticles.ToStringList(), QStringList{articleOf(QStringLiteral("ЦЕЛЫЙ"))});
    EXPECT_EQ(list.CurrentLetterFile, 7);
}

TEST_F(DictionaryFolderTest, PerLetterOpensAtTheFirstFileThatReads)
{
    // Russian without 0.ogl, with a folder standing where 1.ogl should be.
    QDir().mkpath(tree.path(QStringLiteral("dic/rus/base/1.ogl")));
    tree.writePair(QStringLiteral("dic/rus/base/2"), kB);
    tree.writePair(QStringLiteral("dic/rus/base/3"), kA);
    LoadDictionaryLists(list, folder(QStringLiteral("rus")));
    EXPECT_EQ(list.CurrentHeadwords.ToStringList(), kB);
    EXPECT_EQ(list.CurrentLetterFile, 2);

    // English without 100.ogl; 0.ogl is no English file.
    tree.writePair(QStringLiteral("dic/eng/base/0"), kA);
    tree.writePair(QStringLiteral("dic/eng/base/101"), {QStringLiteral("ABOUT")});
    const DictionaryFolder eng = folder(QStringLiteral("eng"));
    EXPECT_TRUE(eng.IsEnglish());
    LoadDictionaryLists(list, eng);
    EXPECT_EQ(list.CurrentHeadwords.ToStringList(), QStringList{QStringLiteral("ABOUT")});
    EXPECT_EQ(list.CurrentLetterFile, 101);
}

TEST_F(DictionaryFolderTest, FilesAreFoundWhateverTheirLetterCase)
{
    tree.writePair(QStringLiteral("DIC/Англо Русский/Base/101"), {QStringLiteral("ABOUT")});
    tree.writeList(QStringLiteral("DIC/Англо Русский/Sort.TRV"), {QStringLiteral("Глаголы=verbs")});
    tree.writeList(QStringLiteral("DIC/Англо Русский/About.Info"), {QStringLiteral("Описание"), QStringLiteral("Англо-русский")});
    const DictionaryFolder eng = folder(QStringLiteral("англо русский"));
    EXPECT_TRUE(eng.IsEnglish());
    EXPECT_TRUE(eng.HasCategories());
    EXPECT_TRUE(eng.IsDictionary());
    EXPECT_EQ(eng.ReadAbout().displayName(), QStringLiteral("Англо-русский"));
    LoadDictionaryLists(list, eng);
    EXPECT_EQ(list.CurrentLetterFile, 101);
    EXPECT_EQ(list.CurrentHeadwords.ToStringList(), QStringList{QStringLiteral("ABOUT")});
}

TEST_F(DictionaryFolderTest, ListFilesWithoutAMarkAreWindows1251)
{
    writeBytes(tree.path(QStringLiteral("dic/ansi/ansi.ogl")), "\xCA\xCE\xD2\r\n\xC0\r\n");
    writeBytes(tree.path(QStringLiteral("dic/ansi/ansi.uvs")), "\xCA\xCE\xD2 1\r\n\xC0 2\r\n");
    LoadDictionaryLists(list, folder(QStringLiteral("ansi")));
    EXPECT_EQ(list.CurrentHeadwords.ToStringList(), (QStringList{QStringLiteral("КОТ"), QStringLiteral("А")}));
}

TEST_F(DictionaryFolderTest, AMissingArticleFileThrowsAndLeavesNoListBehind)
{
    list.CurrentHeadwords = LineList::FromLines({QStringLiteral("СТАРЫЙ")});
    list.CurrentArticles = oldArticles();
    tree.writeList(QStringLiteral("dic/w/w.ogl"), kA);
    EXPECT_THROW(LoadDictionaryLists(list, folder(QStringLiteral("w"))), FileError);
    EXPECT_TRUE(list.CurrentHeadwords.isEmpty());
    EXPECT_TRUE(list.CurrentArticles.isEmpty());

    list.CurrentHeadwords = LineList::FromLines({QStringLiteral("СТАРЫЙ")});
    list.CurrentArticles = oldArticles();
    tree.writeList(QStringLiteral("dic/p/base/4.ogl"), kA);
    EXPECT_THROW(LoadDictionaryLists(list, folder(QStringLiteral("p"))), FileError);
    EXPECT_TRUE(list.CurrentHeadwords.isEmpty());
    EXPECT_TRUE(list.CurrentArticles.isEmpty());
    EXPECT_EQ(list.CurrentLetterFile, 4);
}

TEST_F(DictionaryFolderTest, NothingReadableLeavesNoListBehind)
{
    list.CurrentHeadwords = LineList::FromLines({QStringLiteral("СТАРЫЙ")});
    list.CurrentArticles = oldArticles();
    list.CurrentLetterFile = 1;
    QDir().mkpath(tree.path(QStringLiteral("dic/empty/base")));
    LoadDictionaryLists(list, folder(QStringLiteral("empty")));
    EXPECT_TRUE(list.CurrentHeadwords.isEmpty());
    EXPECT_TRUE(list.CurrentArticles.isEmpty());
    EXPECT_EQ(list.CurrentLetterFile, OpenList::NoLetterFile);
    EXPECT_FALSE(LoadLetterFile(list, folder(QStringLiteral("empty")), 5));
}

TEST_F(DictionaryFolderTest, NamesThatLeaveTheFolderOpenNothing)
{
    // Files straight under dic/ and beside it must not pass for a dictionary's.
    tree.writePair(QStringLiteral("dic/base/1"), kA);
    tree.writeList(QStringLiteral("dic/sort.trv"), {QStringLiteral("x=y")});
    tree.writePair(QStringLiteral("outside/outside"), kA);
    tree.writePair(QStringLiteral("dic/d/categories/ok"), kB);
    for (const QString &name : {QString(), QStringLiteral("."), QStringLiteral("../outside"), QStringLiteral("a/..")}) {
        const DictionaryFolder bad = folder(name);
        EXPECT_FALSE(bad.IsValid());
        EXPECT_FALSE(bad.HasCategories());
        EXPECT_FALSE(bad.IsWholeList());
        LoadDictionaryLists(list, bad);
        EXPECT_TRUE(list.CurrentHeadwords.isEmpty()) << name.toStdString();
        EXPECT_THROW(bad.ReadList(QStringLiteral("sort.trv")), FileError);
    }
    // A category file named in sort.trv stays inside the folder too.
    const DictionaryFolder d = folder(QStringLiteral("d"));
    EXPECT_THROW(LoadCategoryLists(list, d, QStringLiteral("../../outside/outside")), FileError);
    LoadCategoryLists(list, d, QStringLiteral("ok"));
    EXPECT_EQ(list.CurrentHeadwords.ToStringList(), kB);
}

TEST_F(DictionaryFolderTest, TwoDotsInsideANameAreOnlyAName)
{
    for (const QString &name : {QStringLiteral("Dict..v2"), QStringLiteral("a..b"), QStringLiteral("..x")}) {
        tree.writePair(QStringLiteral("dic/") + name + u'/' + name, kA);
        const DictionaryFolder d = folder(name);
        EXPECT_TRUE(d.IsValid()) << name.toStdString();
        EXPECT_TRUE(d.IsWholeList()) << name.toStdString();
        list.CurrentHeadwords.clear();
        LoadDictionaryLists(list, d);
        EXPECT_EQ(list.CurrentHeadwords.ToStringList(), kA) << name.toStdString();
    }
}

TEST_F(DictionaryFolderTest, AboutAndCategories)
{
    tree.writeList(QStringLiteral("dic/a/about.info"), {QStringLiteral("Толковый словарь"), QStringLiteral("Толковый")});
    tree.writeList(QStringLiteral("dic/b/about.info"), {QStringLiteral("Только описание")});
    tree.writeList(QStringLiteral("dic/a/sort.trv"), {QStringLiteral("Цвета=colors"), QStringLiteral("Звери=beasts"), QStringLiteral("Без файла")});
    const DictionaryFolder a = folder(QStringLiteral("a"));
    EXPECT_TRUE(a.IsDictionary());
    EXPECT_FALSE(folder(QStringLiteral("b")).IsDictionary());
    EXPECT_FALSE(folder(QStringLiteral("none")).IsDictionary());
    EXPECT_FALSE(folder(QStringLiteral("none")).ReadAbout().fileFound);
    EXPECT_EQ(a.ReadAbout().description(), QStringLiteral("Толковый словарь"));
    const StringList categories = a.ReadCategories();
    EXPECT_EQ(DictionaryFolder::CategoryNames(categories),
              (QStringList{QStringLiteral("Цвета"), QStringLiteral("Звери"), QStringLiteral("Без файла")}));
    EXPECT_EQ(categories.Values(QStringLiteral("звери")), QStringLiteral("beasts"));
}

TEST(SelectedDictionaryDirTest, FirstTabLineOfTheCaptionWithoutRegardToCase)
{
    const StringList treeLines{
        QStringLiteral("Все словари"),     QStringLiteral("Мои словари"),
        QStringLiteral("\tТолковый=tolk"), QStringLiteral("\tтолковый=second"),
        QStringLiteral("\tС пробелом=Папка с пробелом"),
    };
    EXPECT_EQ(SelectedDictionaryDir(treeLines, QStringLiteral("ТОЛКОВЫЙ")), QStringLiteral("tolk"));
    EXPECT_EQ(SelectedDictionaryDir(treeLines, QStringLiteral("С пробелом")), QStringLiteral("Папка с пробелом"));
    EXPECT_EQ(SelectedDictionaryDir(treeLines, QStringLiteral("Мои словари")), QString());
    EXPECT_EQ(SelectedDictionaryDir(treeLines, QStringLiteral("Все словари")), QString());
}

} // namespace
