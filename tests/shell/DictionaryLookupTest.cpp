#include "DictionaryLookup.h"

#include "AppError.h"
#include "DictionaryFixtures.h"

#include <functional>

using namespace vocab;
using namespace vocab::test;
using namespace Qt::StringLiterals;

namespace {

QString s(const char16_t *text) { return QString::fromUtf16(text); }
QStringList lines(std::initializer_list<const char16_t *> texts)
{
    QStringList out;
    for (const char16_t *t : texts)
        out.append(s(t));
    return out;
}

// Four dictionaries: Russian and English per letter, a whole list (with a
// stray base/ beside it) and a whole list with categories.
class LookupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.writePair(u"dic/rus/base/0"_s, lines({u"'АПОСТРОФ", u"1812"}));
        tree.writePair(u"dic/rus/base/1"_s, lines({u"-АЯ", u"А", u"АБАЖУР", u"АБАК", u"АВТОР"}));
        tree.writePair(u"dic/rus/base/6"_s, lines({u"ЕЖ", u"ЕЛКА", u"ЕЛЬ"}));
        tree.writePair(u"dic/eng/base/101"_s, lines({u"A", u"ABOUT"}));
        tree.writePair(u"dic/eng/base/120"_s, lines({u"'TIS", u"-TION", u"TABLE"}));
        tree.writePair(u"dic/whole/whole"_s, wholeList);
        tree.writePair(u"dic/whole/base/1"_s, lines({u"АЛЬТ"}));
        tree.writePair(u"dic/cats/cats"_s, lines({u"КОТ", u"КРАСНЫЙ", u"СИНИЙ", u"СОБАКА"}));
        tree.writeList(u"dic/cats/sort.trv"_s, lines({u"Цвета=colors", u"Звери=beasts"}));
        tree.writePair(u"dic/cats/categories/colors"_s, lines({u"", u"КРАСНЫЙ", u"СИНИЙ"}));
        rig.addToTree(u"Русский"_s, u"rus"_s);
        rig.addToTree(u"Английский"_s, u"eng"_s);
        rig.addToTree(u"Целый"_s, u"whole"_s);
        rig.addToTree(u"Кошки"_s, u"cats"_s);
    }

    // Types a text and checks the row and the article it shows.
    void expectFound(const QString &typed, int letterFile, const QString &headword)
    {
        SCOPED_TRACE(typed.toStdString());
        rig.type(typed);
        EXPECT_EQ(rig.lookup.List().CurrentLetterFile, letterFile);
        EXPECT_EQ(rig.currentCell(), headword);
        EXPECT_EQ(rig.lastPage(), articleOf(headword));
        EXPECT_EQ(rig.host.colour, FoundTextColour);
        EXPECT_TRUE(rig.lookup.State().SearchFound);
    }

    const QStringList wholeList = lines({u"АЛМАЗ", u"БАРАН", u"ВОЛК", u"ГУСЬ", u"ДЯТЕЛ", u"ЕНОТ", u"ЖУК",
                                         u"ЗЕБРА", u"ИБИС", u"ЙОРК"});
    FixtureFolder tree;
    LookupRig rig{tree.base()};
};

TEST_F(LookupTest, OpeningShowsTheFirstHeadwordOfTheFirstLetterFile)
{
    rig.host.searchBoxText = u"прежний текст"_s;
    rig.select(u"Русский"_s);
    EXPECT_EQ(rig.host.searchBoxText, QString()) << "a dictionary always opens at its first headword";
    EXPECT_EQ(rig.host.openings, 1);
    EXPECT_EQ(rig.host.searchModes.back(), tnkDictionary);
    EXPECT_EQ(rig.lookup.List().CurrentListName, u"rus"_s);
    EXPECT_EQ(rig.lookup.List().CurrentLetterFile, 0);
    EXPECT_EQ(rig.cells(), lines({u"'АПОСТРОФ", u"1812"}));
    EXPECT_EQ(rig.grid.Row(), 0);
    EXPECT_EQ(rig.host.pages, (QStringList{QString(), articleOf(u"'АПОСТРОФ"_s)}));
    EXPECT_EQ(rig.host.colour, FoundTextColour);
    EXPECT_EQ(rig.host.categoriesShown, 0);
    EXPECT_EQ(rig.lookup.State().SyncSearchBoxFromGrid, 1);
}

TEST_F(LookupTest, RussianKeysFindTheFirstHeadwordThatBeginsWithThem)
{
    rig.select(u"Русский"_s);
    expectFound(u"а"_s, 1, u"А"_s);
    expectFound(u"-а"_s, 1, u"-АЯ"_s);      // a hyphen before a capital is passed over
    expectFound(u"аба"_s, 1, u"АБАЖУР"_s);
    expectFound(u"  абак "_s, 1, u"АБАК"_s);
    expectFound(u"'а"_s, 0, u"'АПОСТРОФ"_s); // an apostrophe counts only in English
    expectFound(u"ёлка"_s, 6, u"ЕЛКА"_s);
    expectFound(u"Ёл"_s, 6, u"ЕЛКА"_s);
    expectFound(u"ель"_s, 6, u"ЕЛЬ"_s);
    expectFound(u"18"_s, 0, u"1812"_s);
    EXPECT_EQ(rig.cells(), lines({u"'АПОСТРОФ", u"1812"}));
}

TEST_F(LookupTest, EnglishKeysPassOverAHyphenOrAnApostrophe)
{
    rig.select(u"Английский"_s);
    EXPECT_EQ(rig.lookup.List().CurrentLetterFile, 101) << "no 100.ogl";
    expectFound(u"'t"_s, 120, u"'TIS"_s);
    expectFound(u"-t"_s, 120, u"-TION"_s);
    expectFound(u"ta"_s, 120, u"TABLE"_s);
    expectFound(u"ab"_s, 101, u"ABOUT"_s);

    // An apostrophe before a Cyrillic letter keeps the key in file 100, which
    // this dictionary lacks.
    rig.type(u"'ж"_s);
    EXPECT_EQ(rig.lastPage(), QString());
    EXPECT_EQ(rig.grid.RowCount(), 0);
    EXPECT_EQ(rig.lookup.List().CurrentLetterFile, 101);
}

TEST_F(LookupTest, BlanksOnlyChangeNothing)
{
    rig.select(u"Русский"_s);
    rig.type(u"аб"_s);
    const QStringList pages = rig.host.pages;
    const int modeCalls = rig.host.modeCalls;
    const int row = rig.grid.Row();
    rig.type(u"   "_s);
    EXPECT_EQ(rig.host.pages, pages);
    EXPECT_EQ(rig.host.modeCalls, modeCalls);
    EXPECT_EQ(rig.grid.Row(), row);
    EXPECT_EQ(rig.host.openings, 1);
}

TEST_F(LookupTest, AnEmptyTextShowsTheDictionaryFromItsFirstHeadwordAgain)
{
    rig.select(u"Русский"_s);
    rig.type(u"ел"_s);
    ASSERT_EQ(rig.lookup.List().CurrentLetterFile, 6);
    rig.type(QString());
    EXPECT_EQ(rig.host.openings, 2);
    EXPECT_EQ(rig.lookup.List().CurrentLetterFile, 0);
    EXPECT_EQ(rig.currentCell(), u"'АПОСТРОФ"_s);
    EXPECT_EQ(rig.lastPage(), articleOf(u"'АПОСТРОФ"_s));
}

TEST_F(LookupTest, TheEraseKeyClearsTheBoxAndReopens)
{
    rig.select(u"Целый"_s);
    rig.type(u"вол"_s);
    rig.host.searchBoxText = u"вол"_s;
    rig.lookup.EraseSearchText();
    EXPECT_EQ(rig.host.searchBoxText, QString());
    EXPECT_EQ(rig.host.openings, 2);
    EXPECT_EQ(rig.currentCell(), u"АЛМАЗ"_s);
    EXPECT_EQ(rig.lastPage(), articleOf(u"АЛМАЗ"_s));
}

TEST_F(LookupTest, NoMatchKeepsTheGridAndThePage)
{
    rig.select(u"Русский"_s);
    rig.type(u"аба"_s);
    const QStringList pages = rig.host.pages;
    const QStringList cells = rig.cells();
    rig.type(u"абв"_s);
    EXPECT_EQ(rig.host.pages, pages);
    EXPECT_EQ(rig.cells(), cells);
    EXPECT_EQ(rig.currentCell(), u"АБАЖУР"_s);
    EXPECT_EQ(rig.host.colour, NotFoundTextColour);
    expectFound(u"абак"_s, 1, u"АБАК"_s);
}

TEST_F(LookupTest, ALetterWithoutAFileEmptiesTheGridAndThePage)
{
    rig.select(u"Русский"_s);
    rig.type(u"а"_s);
    const int modeCalls = rig.host.modeCalls;
    rig.type(u"б"_s);
    EXPECT_EQ(rig.lastPage(), QString());
    EXPECT_EQ(rig.grid.RowCount(), 0);
    EXPECT_EQ(rig.lookup.List().CurrentLetterFile, 1);
    EXPECT_EQ(rig.host.modeCalls, modeCalls) << "the colour is left as it was";
    EXPECT_EQ(rig.host.colour, FoundTextColour);

    // Typed over: the same letter and the article shown before must be shown
    // again, not taken as still on the screen.
    expectFound(u"а"_s, 1, u"А"_s);
    EXPECT_EQ(rig.grid.RowCount(), 5);
}

TEST_F(LookupTest, ALongerKeyOnTheShownArticleDoesNotRefill)
{
    for (const auto &[caption, first, longer, other] :
         {std::tuple{u"Русский"_s, u"аб"_s, u"аба"_s, u"абак"_s},
          std::tuple{u"Целый"_s, u"з"_s, u"зеб"_s, u"и"_s}}) {
        SCOPED_TRACE(caption.toStdString());
        rig.select(caption);
        rig.type(first);
        const QStringList pages = rig.host.pages;
        const auto selections = rig.selections;
        const int writes = rig.cellWrites;
        const int top = rig.grid.TopRow();
        rig.type(longer);
        EXPECT_EQ(rig.host.pages, pages);
        EXPECT_EQ(rig.selections, selections);
        EXPECT_EQ(rig.cellWrites, writes);
        EXPECT_EQ(rig.grid.TopRow(), top);
        EXPECT_EQ(rig.host.colour, FoundTextColour);
        rig.type(other);
        EXPECT_EQ(rig.host.pages.size(), pages.size() + 1);
    }
}

TEST_F(LookupTest, AMatchOnTheLastLineShowsItsArticle)
{
    rig.select(u"Русский"_s);
    rig.type(u"ав"_s);
    EXPECT_EQ(rig.selections.back(), (Selection{4, 6})) << "selected while a row was borrowed";
    EXPECT_EQ(rig.grid.RowCount(), 5);
    EXPECT_EQ(rig.grid.Row(), 4);
    EXPECT_EQ(rig.lastPage(), articleOf(u"АВТОР"_s));
}

TEST_F(LookupTest, AGridShorterThanThreeRowsShowsNoArticle)
{
    LookupRig shortRig(tree.base(), 2);
    shortRig.addToTree(u"Русский"_s, u"rus"_s);
    shortRig.select(u"Русский"_s);
    shortRig.type(u"аб"_s);
    EXPECT_EQ(shortRig.grid.RowCount(), 0);
    EXPECT_TRUE(shortRig.selections.empty());
    EXPECT_EQ(shortRig.host.pages, (QStringList{QString(), QString()})) << "blank pages only";
}

TEST_F(LookupTest, AWholeListGoesIntoTheGridOnce)
{
    rig.select(u"Целый"_s);
    EXPECT_EQ(rig.cells(), wholeList) << "whole list, base/ never read";
    EXPECT_TRUE(rig.grid.LineListShown().SharesLinesWith(rig.lookup.List().CurrentHeadwords));
    const int writes = rig.cellWrites;
    expectFound(u"ж"_s, 0, u"ЖУК"_s);
    expectFound(u"а"_s, 0, u"АЛМАЗ"_s);
    expectFound(u"йо"_s, 0, u"ЙОРК"_s);
    EXPECT_EQ(rig.cellWrites, writes);
    EXPECT_EQ(rig.grid.RowCount(), 10);
}

TEST_F(LookupTest, CategoriesAreListedAndSearchedAsAWholeList)
{
    rig.select(u"Кошки"_s);
    EXPECT_EQ(rig.host.categoriesShown, 1);
    EXPECT_EQ(rig.host.categoriesCaption, u"Кошки"_s);
    EXPECT_EQ(rig.host.categoryNames, lines({u"Цвета", u"Звери"}));
    EXPECT_EQ(rig.lookup.List().CategoryList.Values(u"цвета"_s), u"colors"_s);

    // The empty item: nothing is searched.
    rig.host.categoryItem = 1;
    const QStringList pages = rig.host.pages;
    const int modeCalls = rig.host.modeCalls;
    rig.type(u"к"_s);
    EXPECT_EQ(rig.host.pages, pages);
    EXPECT_EQ(rig.host.modeCalls, modeCalls);

    // A category picked: shown from its first headword, not the empty line
    // before it (which would open the whole dictionary again), and searched
    // as a whole list.
    rig.host.categoryItem = 2;
    OpenList &list = rig.lookup.List();
    LoadCategoryLists(list, rig.lookup.SelectedFolder(), list.CategoryList.Values(u"Цвета"_s));
    list.CurrentListName = u"Цвета"_s;
    EXPECT_TRUE(rig.lookup.ShowFromFirstHeadword());
    EXPECT_EQ(rig.host.openings, 1);
    EXPECT_EQ(rig.currentCell(), u"КРАСНЫЙ"_s);
    expectFound(u"си"_s, 0, u"СИНИЙ"_s);
    EXPECT_EQ(rig.cells(), lines({u"", u"КРАСНЫЙ", u"СИНИЙ"}));
}

TEST_F(LookupTest, FoldersSearchNothingAndTheRootSearchesTheCombinedList)
{
    rig.select(u"Русский"_s);
    rig.select(u"Мои словари"_s, tnkFolder);
    EXPECT_EQ(rig.lastPage(), QString());
    EXPECT_EQ(rig.grid.RowCount(), 0);
    EXPECT_EQ(rig.host.searchModes.back(), tnkFolder);
    EXPECT_EQ(rig.lookup.State().LastSearchedList, u"Мои словари"_s);
    EXPECT_EQ(rig.lookup.State().LastGridList, u"Мои словари"_s);
    const QStringList pages = rig.host.pages;
    rig.type(u"а"_s);
    EXPECT_EQ(rig.host.pages, pages);
    EXPECT_EQ(rig.host.modeCalls, 1);

    // The combined search opens the root again when it has an empty line to
    // show; that must not open it without end.
    rig.host.reopenFromRootSearch = &rig.lookup;
    rig.select(u"Все словари"_s, tnkRoot);
    EXPECT_EQ(rig.host.rootSearches, 1);
    EXPECT_EQ(rig.host.searchModes.back(), tnkRoot);
    EXPECT_EQ(rig.lookup.State().LastSearchedList, u"Все словари"_s);
    EXPECT_EQ(rig.host.searchBoxText, QString()) << "emptied by the dictionary opened before, kept by the root";
}

// Bad input.

TEST_F(LookupTest, AMissingArticleFileStopsTheOpeningAndShowsNothingOfTheDictionaryBefore)
{
    tree.writeList(u"dic/broken/broken.ogl"_s, lines({u"АЛМАЗ", u"БАРАН"}));
    tree.writeList(u"dic/broken/sort.trv"_s, lines({u"Цвета=colors"}));
    rig.addToTree(u"Сломанный"_s, u"broken"_s);
    rig.select(u"Целый"_s);
    EXPECT_THROW(rig.select(u"Сломанный"_s), FileError);
    EXPECT_EQ(rig.grid.RowCount(), 0);
    EXPECT_EQ(rig.lastPage(), QString());
    EXPECT_EQ(rig.host.categoriesShown, 0);
    EXPECT_TRUE(rig.lookup.List().CurrentHeadwords.isEmpty());
    EXPECT_TRUE(rig.lookup.List().CurrentArticles.isEmpty());
    rig.type(u"ал"_s);
    EXPECT_EQ(rig.lastPage(), QString()) << "not the article of the other dictionary";
    EXPECT_EQ(rig.host.colour, NotFoundTextColour);
}

TEST_F(LookupTest, AMissingArticleFileOfALetterIsReportedOnce)
{
    tree.writeList(u"dic/rus/base/3.ogl"_s, lines({u"ВОЛК"}));
    rig.select(u"Русский"_s);
    EXPECT_THROW(rig.type(u"в"_s), FileError);
    EXPECT_EQ(rig.lookup.List().CurrentLetterFile, 3);
    EXPECT_TRUE(rig.lookup.List().CurrentHeadwords.isEmpty());
    EXPECT_NO_THROW(rig.type(u"во"_s));
    EXPECT_EQ(rig.host.colour, NotFoundTextColour);
    EXPECT_EQ(rig.lastPage(), QString());
    expectFound(u"а"_s, 1, u"А"_s);
}

TEST_F(LookupTest, AnArticleFileShorterThanItsHeadwordsShowsNoStrayArticle)
{
    tree.writeList(u"dic/short/short.ogl"_s, lines({u"АЛМАЗ", u"БАРАН", u"ВОЛК"}));
    tree.writeList(u"dic/short/short.uvs"_s, lines({u"АЛМАЗ статья", u"БАРАН статья"}));
    rig.addToTree(u"Короткий"_s, u"short"_s);
    rig.select(u"Короткий"_s);
    rig.type(u"во"_s);
    EXPECT_EQ(rig.currentCell(), u"ВОЛК"_s);
    EXPECT_EQ(rig.lastPage(), kNoArticle);
    EXPECT_FALSE(rig.lookup.ArticleOfRow(-5));
    EXPECT_FALSE(rig.lookup.ArticleOfRow(1000));
    // The row stands for its headword, whose article the file lacks.
    const auto wolf = rig.lookup.ArticleOfRow(rig.grid.Row());
    ASSERT_TRUE(wolf);
    EXPECT_EQ(wolf->index, 2);
    EXPECT_EQ(wolf->headword, u"ВОЛК"_s);
    EXPECT_EQ(wolf->article, std::nullopt);
    EXPECT_EQ(rig.lookup.List().CurrentArticles.Path(), tree.path(u"dic/short/short.uvs"_s)) << "the file to name";
}

TEST_F(LookupTest, EmptyLinesInAHeadwordFileNeitherLoopNorHideTheDictionary)
{
    tree.writePair(u"dic/blank/blank"_s, lines({u"", u"  ", u"АИСТ", u"", u"БАК"}));
    tree.writePair(u"dic/void/void"_s, lines({u"", u""}));
    rig.addToTree(u"С пустыми"_s, u"blank"_s);
    rig.addToTree(u"Пустые строки"_s, u"void"_s);

    rig.select(u"С пустыми"_s);
    EXPECT_EQ(rig.host.openings, 1);
    EXPECT_EQ(rig.grid.RowCount(), 5);
    EXPECT_EQ(rig.currentCell(), u"АИСТ"_s);
    EXPECT_EQ(rig.lastPage(), articleOf(u"АИСТ"_s));
    expectFound(u"б"_s, 0, u"БАК"_s);

    rig.select(u"Пустые строки"_s);
    EXPECT_EQ(rig.host.openings, 2);
    EXPECT_EQ(rig.grid.RowCount(), 0);
    EXPECT_EQ(rig.lastPage(), QString());
    rig.type(QString());
    EXPECT_EQ(rig.host.openings, 3);
}

TEST_F(LookupTest, AnEmptyHeadwordListShowsAnEmptyGridAndKeepsTheCategories)
{
    tree.writePair(u"dic/nothing/nothing"_s, {});
    tree.writeList(u"dic/nothing/sort.trv"_s, lines({u"Цвета=colors"}));
    rig.addToTree(u"Пустой"_s, u"nothing"_s);
    rig.select(u"Кошки"_s);
    rig.select(u"Пустой"_s);
    EXPECT_EQ(rig.grid.RowCount(), 0);
    EXPECT_EQ(rig.lastPage(), QString());
    EXPECT_EQ(rig.host.categoriesShown, 1) << "only for the dictionary before";
    rig.type(u"к"_s);
    EXPECT_EQ(rig.lastPage(), QString());
}

TEST_F(LookupTest, AFolderNameWithBlanksAndCyrillicLettersOpensWhateverItsCase)
{
    tree.writePair(u"dic/МОЙ Словарь 2/Base/1"_s, lines({u"АЙВА"}));
    rig.addToTree(u"Мой"_s, u"мой словарь 2"_s);
    rig.select(u"Мой"_s);
    EXPECT_EQ(rig.lookup.List().CurrentListName, u"мой словарь 2"_s);
    EXPECT_EQ(rig.lastPage(), articleOf(u"АЙВА"_s));
}

TEST_F(LookupTest, ADictionaryMissingFromTheTreeFileReadsNothingUnderDic)
{
    tree.writePair(u"dic/base/1"_s, lines({u"ЧУЖОЙ"}));
    tree.writeList(u"dic/sort.trv"_s, lines({u"Чужие=x"}));
    rig.select(u"Русский"_s);
    rig.select(u"Без строки"_s);
    EXPECT_EQ(rig.lookup.List().CurrentListName, QString());
    EXPECT_TRUE(rig.lookup.List().CurrentHeadwords.isEmpty());
    EXPECT_EQ(rig.grid.RowCount(), 0);
    EXPECT_EQ(rig.host.categoriesShown, 0);
    rig.type(u"ч"_s);
    EXPECT_EQ(rig.grid.RowCount(), 0);
    EXPECT_EQ(rig.lastPage(), QString());
}

} // namespace

TEST_F(LookupTest, AFailedPageWriteLeavesTheGridListening)
{
    // Opening a node, and showing a description page, write a page with the
    // handler away; a write that throws must not keep it away.
    struct Case {
        const char *what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"opening", [this] { rig.select(u"Целый"_s); }},
        {"description page", [this] { rig.lookup.ClearGridAndPage(u"<p>about</p>"_s); }},
    };
    for (const Case &c : cases) {
        rig.host.pageWritesFail = true;
        EXPECT_THROW(c.act(), AppError) << c.what;
        EXPECT_TRUE(rig.grid.SelectCellAttached()) << c.what;
        rig.host.pageWritesFail = false;
        // And the user's picks are seen again.
        rig.select(u"Целый"_s);
        rig.selections.clear();
        rig.grid.SetRow(3);
        EXPECT_EQ(rig.selections, (std::vector<Selection>{{3, rig.grid.RowCount()}})) << c.what;
    }
}
