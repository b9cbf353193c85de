// Picking the items of the categories tab, on dictionaries the tests write.
#include "CategoryTab.h"

#include "AppError.h"
#include "DictionaryFixtures.h"

using namespace vocab;
using namespace vocab::test;
using namespace Qt::StringLiterals;

namespace {

// A whole-list dictionary with three categories, one of them empty and one
// whose files are missing; an English per-letter one with categories and no
// file 100; a dictionary without categories.
class CategoryTabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.writePair(u"dic/zoo/zoo"_s, {u"АИСТ"_s, u"БОБР"_s, u"ВОЛК"_s, u"ЗАЯЦ"_s, u"КОТ"_s});
        tree.writeList(u"dic/zoo/sort.trv"_s, {u"Птицы=birds"_s, u"Звери=Beasts"_s, u"Пустая=empty"_s, u"Рыбы=fish"_s});
        tree.writePair(u"dic/zoo/categories/birds"_s, {u"АИСТ"_s});
        tree.writePair(u"dic/zoo/categories/Beasts"_s, {u"БОБР"_s, u"ВОЛК"_s, u"ЗАЯЦ"_s});
        tree.writePair(u"dic/zoo/categories/empty"_s, {});
        tree.writePair(u"dic/eng/base/101"_s, {u"APE"_s, u"ASP"_s});
        tree.writePair(u"dic/eng/base/102"_s, {u"BAT"_s});
        tree.writeList(u"dic/eng/sort.trv"_s, {u"Birds=birds"_s});
        tree.writePair(u"dic/eng/categories/birds"_s, {u"BAT"_s});
        tree.writePair(u"dic/plain/plain"_s, {u"ДОМ"_s});
        rig.addToTree(u"Зоопарк"_s, u"zoo"_s);
        rig.addToTree(u"Английский"_s, u"eng"_s);
        rig.addToTree(u"Простой"_s, u"plain"_s);
    }

    // Picks an item as the tab's list does: it becomes the selected item.
    void pick(int item, const QString &text)
    {
        rig.host.categoryItem = item;
        tab.PickItem(item, text);
    }
    void pickCategory(int item)
    {
        rig.host.searchBoxText = u"typed"_s;
        pick(item, rig.host.categoryNames.value(item - 2));
    }

    FixtureFolder tree;
    LookupRig rig{tree.base()};
    CategoryTab tab{rig.lookup, rig.host};
};

} // namespace

TEST_F(CategoryTabTest, ACategoryIsShownAndSearchedAlone)
{
    rig.select(u"Зоопарк"_s);
    ASSERT_EQ(rig.host.categoryNames, (QStringList{u"Птицы"_s, u"Звери"_s, u"Пустая"_s, u"Рыбы"_s}));
    pickCategory(3);
    EXPECT_EQ(rig.lookup.List().CurrentListName, u"Звери"_s);
    EXPECT_EQ(tab.CurrentCategoryFile(), u"Beasts"_s);
    EXPECT_EQ(rig.lookup.List().CurrentHeadwords.ToStringList(), (QStringList{u"БОБР"_s, u"ВОЛК"_s, u"ЗАЯЦ"_s}));
    EXPECT_EQ(rig.cells(), rig.lookup.List().CurrentHeadwords.ToStringList());
    EXPECT_EQ(rig.currentCell(), u"БОБР"_s);
    EXPECT_EQ(rig.host.pages.mid(rig.host.pages.size() - 2), (QStringList{QString(), articleOf(u"БОБР"_s)}));
    EXPECT_EQ(rig.host.searchBoxText, QString()) << "the box is emptied";

    rig.type(u"за"_s);
    EXPECT_EQ(rig.currentCell(), u"ЗАЯЦ"_s);
    EXPECT_EQ(rig.lastPage(), articleOf(u"ЗАЯЦ"_s));
    rig.type(u"ко"_s);
    EXPECT_FALSE(rig.lookup.State().SearchFound) << "the cat is not one of the beasts";
    EXPECT_EQ(rig.currentCell(), u"ЗАЯЦ"_s);

    // The same category again: it is shown already.
    const QStringList pages = rig.host.pages;
    pickCategory(3);
    EXPECT_EQ(rig.host.pages, pages);
    EXPECT_EQ(rig.host.searchBoxText, u"typed"_s);
}

TEST_F(CategoryTabTest, TheEmptyItemShowsNothingAndSearchesNothing)
{
    rig.select(u"Зоопарк"_s);
    pickCategory(2);
    pick(CategoryTab::EmptyItem, QString());
    EXPECT_EQ(rig.grid.RowCount(), 0);
    EXPECT_EQ(rig.lastPage(), QString());
    const QStringList pages = rig.host.pages;
    rig.type(u"а"_s);
    EXPECT_EQ(rig.host.pages, pages);
    EXPECT_EQ(rig.grid.RowCount(), 0);

    // The dictionary's item brings the whole dictionary back.
    rig.host.searchBoxText = u"а"_s;
    pick(CategoryTab::DictionaryItem, u"Зоопарк"_s);
    EXPECT_EQ(rig.lookup.List().CurrentListName, u"Зоопарк"_s);
    EXPECT_EQ(rig.cells(), (QStringList{u"АИСТ"_s, u"БОБР"_s, u"ВОЛК"_s, u"ЗАЯЦ"_s, u"КОТ"_s}));
    EXPECT_EQ(rig.currentCell(), u"АИСТ"_s);
    EXPECT_EQ(rig.lastPage(), articleOf(u"АИСТ"_s));
    EXPECT_EQ(rig.host.searchBoxText, QString());
    rig.type(u"ко"_s);
    EXPECT_EQ(rig.currentCell(), u"КОТ"_s);
}

TEST_F(CategoryTabTest, TheDictionaryItemOpensAPerLetterDictionaryAsOpeningItDoes)
{
    rig.select(u"Английский"_s);
    pickCategory(2);
    EXPECT_EQ(rig.currentCell(), u"BAT"_s);
    pick(CategoryTab::DictionaryItem, u"Английский"_s);
    EXPECT_EQ(rig.lookup.List().CurrentLetterFile, 101);
    EXPECT_EQ(rig.cells(), (QStringList{u"APE"_s, u"ASP"_s}));
    EXPECT_EQ(rig.lastPage(), articleOf(u"APE"_s));
    rig.type(u"b"_s);
    EXPECT_EQ(rig.lookup.List().CurrentLetterFile, 102);
    EXPECT_EQ(rig.currentCell(), u"BAT"_s);
}

TEST_F(CategoryTabTest, EmptyAndMissingCategories)
{
    rig.select(u"Зоопарк"_s);
    pickCategory(4); // empty
    EXPECT_EQ(rig.grid.RowCount(), 0);
    EXPECT_EQ(rig.lastPage(), QString());
    EXPECT_EQ(rig.host.searchBoxText, u"typed"_s) << "nothing was shown, so the box keeps its text";

    EXPECT_THROW(pickCategory(5), FileError);
    EXPECT_EQ(rig.lookup.List().CurrentListName, u"Рыбы"_s);
    EXPECT_TRUE(rig.lookup.List().CurrentHeadwords.isEmpty()) << "no list stands in for the missing one";
    EXPECT_TRUE(rig.lookup.List().CurrentArticles.isEmpty());
    EXPECT_EQ(rig.grid.RowCount(), 0);

    // Picking the dictionary afterwards shows it.
    pick(CategoryTab::DictionaryItem, u"Зоопарк"_s);
    EXPECT_EQ(rig.currentCell(), u"АИСТ"_s);
}

TEST_F(CategoryTabTest, TheTabServesOnlyDictionariesWithCategories)
{
    rig.select(u"Зоопарк"_s);
    EXPECT_TRUE(tab.Usable());
    rig.select(u"Простой"_s);
    EXPECT_FALSE(tab.Usable());
    rig.select(u"Все словари"_s, tnkRoot);
    EXPECT_FALSE(tab.Usable());
    rig.select(u"Папка"_s, tnkFolder);
    EXPECT_FALSE(tab.Usable());
}

TEST(CategoryTabCaption, ColourOfATabCaption)
{
    EXPECT_EQ(TabCaptionColour(true, true), qRgb(0, 0, 0));
    EXPECT_EQ(TabCaptionColour(true, false), qRgb(0, 0, 0));
    EXPECT_EQ(TabCaptionColour(false, false), qRgb(128, 128, 128));
    EXPECT_EQ(TabCaptionColour(false, true), std::nullopt);
}
