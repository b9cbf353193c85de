// The categories tab of the real main window: its tabs clicked, its items
// picked, and typed into.
#include "DictionaryFixtures.h"
#include "ShellTexts.h"
#include "WindowFixture.h"

#include <QListWidget>
#include <QTabBar>
#include <QTest>

using namespace vocab;
using namespace vocab::test;

namespace {

class CategoriesWindow : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        dir.writeTree({texts::RootNodeCaption, u"\tЗоопарк=zoo"_qs, u"\tПростой=plain"_qs});
        dir.writePair("dic/zoo/zoo", {u"АИСТ"_qs, u"БОБР"_qs, u"ВОЛК"_qs, u"ЗАЯЦ"_qs, u"КОТ"_qs});
        dir.writeList("dic/zoo/sort.trv", {u"Птицы=birds"_qs, u"Звери=beasts"_qs});
        dir.writePair("dic/zoo/categories/birds", {u"АИСТ"_qs});
        dir.writePair("dic/zoo/categories/beasts", {u"БОБР"_qs, u"ВОЛК"_qs, u"ЗАЯЦ"_qs});
        dir.writePair("dic/plain/plain", {u"ДОМ"_qs});
    }

    QTabBar *tabs() const { return form->PageControl1->tabBar(); }
    void clickTab(int index) { QTest::mouseClick(tabs(), Qt::LeftButton, {}, tabs()->tabRect(index).center()); }
    // The caption colours as the tab bar paints them.
    QColor captionColour(int index) const
    {
        tabs()->repaint();
        return tabs()->tabTextColor(index);
    }
    void clickItem(int row)
    {
        QListWidget *list = form->ListBox1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    QStringList items() const
    {
        QStringList out;
        for (int i = 0; i < form->ListBox1->count(); ++i)
            out.append(form->ListBox1->item(i)->text());
        return out;
    }

    FixtureFolder dir{work.path()};
};

} // namespace

TEST_F(CategoriesWindow, ATabOnlyForDictionariesWithCategories)
{
    start();
    select(u"Простой"_qs);
    clickTab(1);
    EXPECT_EQ(form->PageControl1->currentIndex(), 0) << "no categories: the tab is not entered";
    EXPECT_EQ(captionColour(0), QColor(0, 0, 0));
    EXPECT_EQ(captionColour(1), QColor(128, 128, 128));

    select(u"Зоопарк"_qs);
    EXPECT_EQ(items(), (QStringList{u"Зоопарк"_qs, QString(), u"Птицы"_qs, u"Звери"_qs}));
    EXPECT_FALSE(captionColour(1).isValid()) << "the page control's own colour";
    clickTab(1);
    ASSERT_EQ(form->PageControl1->currentIndex(), 1);
    EXPECT_EQ(captionColour(1), QColor(0, 0, 0));
    EXPECT_FALSE(captionColour(0).isValid());
    EXPECT_EQ(form->ListBox1->currentRow(), 0);
    EXPECT_EQ(form->lookup.List().CurrentListName, u"Зоопарк"_qs);
    EXPECT_EQ(selectedHeadword(), u"АИСТ"_qs);

    // The selected item is drawn on silver.
    const QRect selected = form->ListBox1->visualItemRect(form->ListBox1->item(0));
    const QImage image = form->ListBox1->viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(selected.right() - 2, selected.center().y()), QColor(192, 192, 192));
    const QRect other = form->ListBox1->visualItemRect(form->ListBox1->item(1));
    EXPECT_NE(image.pixelColor(other.right() - 2, other.center().y()), QColor(192, 192, 192));

    // Without its categories file any more, the tree can still be gone back to.
    QFile::remove(path("dic/zoo/sort.trv"));
    clickTab(0);
    EXPECT_EQ(form->PageControl1->currentIndex(), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(CategoriesWindow, PickingCategoriesAndTyping)
{
    start();
    select(u"Зоопарк"_qs);
    clickTab(1);
    clickItem(3);
    EXPECT_EQ(form->lookup.List().CurrentListName, u"Звери"_qs);
    EXPECT_EQ(form->grid.RowCount(), 3);
    EXPECT_EQ(selectedHeadword(), u"БОБР"_qs);
    EXPECT_TRUE(pageShows(u"БОБР"_qs));
    EXPECT_TRUE(edit()->text().isEmpty());
    type(u"за"_qs);
    EXPECT_EQ(selectedHeadword(), u"ЗАЯЦ"_qs);
    EXPECT_TRUE(pageShows(u"ЗАЯЦ"_qs));

    // The empty item: nothing shown, nothing searched.
    clickItem(1);
    EXPECT_EQ(form->grid.RowCount(), 0);
    EXPECT_TRUE(form->ShownPage().isEmpty());
    typeAfterClearing(u"во"_qs);
    EXPECT_EQ(form->grid.RowCount(), 0);
    EXPECT_TRUE(form->ShownPage().isEmpty());

    // The dictionary's item: the whole dictionary again.
    clickItem(0);
    EXPECT_EQ(form->grid.RowCount(), 5);
    EXPECT_EQ(selectedHeadword(), u"АИСТ"_qs);
    EXPECT_TRUE(edit()->text().isEmpty());
    type(u"ко"_qs);
    EXPECT_EQ(selectedHeadword(), u"КОТ"_qs);

    // Back on the tree after a category: the whole dictionary from its start.
    clickItem(2);
    EXPECT_EQ(form->grid.RowCount(), 1);
    type(u"а"_qs);
    clickTab(0);
    EXPECT_EQ(form->PageControl1->currentIndex(), 0);
    EXPECT_EQ(form->ListBox1->currentRow(), 0);
    EXPECT_EQ(form->grid.RowCount(), 5);
    EXPECT_EQ(selectedHeadword(), u"АИСТ"_qs);
    EXPECT_TRUE(pageShows(u"АИСТ"_qs));
    EXPECT_TRUE(edit()->text().isEmpty());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(CategoriesWindow, ACategoryThatFailedIsTriedAgainByClickingItOnceMore)
{
    start();
    select(u"Зоопарк"_qs);
    clickTab(1);
    ASSERT_TRUE(QFile::rename(path("dic/zoo/categories/beasts.ogl"), path("dic/zoo/categories/beasts.away")));
    clickItem(3);
    EXPECT_EQ(boxes.size(), 1u) << "one click, one message";
    EXPECT_EQ(form->ListBox1->currentRow(), 3);

    clickItem(3);
    EXPECT_EQ(boxes.size(), 2u) << "the click on the current item tried again";

    ASSERT_TRUE(QFile::rename(path("dic/zoo/categories/beasts.away"), path("dic/zoo/categories/beasts.ogl")));
    clickItem(3);
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(form->grid.RowCount(), 3);
    EXPECT_EQ(selectedHeadword(), u"БОБР"_qs);
    EXPECT_TRUE(pageShows(u"БОБР"_qs));

    // Shown already: a further click does nothing.
    type(u"во"_qs);
    clickItem(3);
    EXPECT_EQ(selectedHeadword(), u"ВОЛК"_qs);
    EXPECT_TRUE(pageShows(u"ВОЛК"_qs));
    EXPECT_EQ(boxes.size(), 2u);
}
