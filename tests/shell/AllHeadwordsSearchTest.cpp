// Searching the combined list of all dictionaries with the root selected.
#include "AllHeadwordsSearch.h"

#include "CombinedFixtures.h"
#include "SearchText.h"

using namespace vocab;
using namespace vocab::test;
using namespace Qt::StringLiterals;

namespace {

class AllHeadwordsSearchTest : public ::testing::Test {
protected:
    void type(const QString &text) { rig.search.SearchAllHeadwords(text); }

    CombinedRig rig{MixedDictionaries()};
};

} // namespace

TEST_F(AllHeadwordsSearchTest, KeysAreLookedForInTheRangeOfTheirLetter)
{
    rig.openRoot();
    struct Case {
        QString typed;
        QString found; // empty: nothing found
    };
    const Case cases[] = {
        {u"a"_s, u"A"_s},
        {u"ap"_s, u"APPLE"_s},
        // É chooses the range of E; the key keeps its É.
        {u"éta"_s, u"ÉTAGE"_s},
        {u"eta"_s, u"ETAT"_s},
        {u"ö"_s, u"ÖL"_s},
        {u"o'"_s, u"O'CLOCK"_s},
        // A hyphen or an apostrophe before a capital of either alphabet.
        {u"-б"_s, u"-БИС"_s},
        {u"'t"_s, u"'TIS"_s},
        {u"-л"_s, u"-ЛОГ"_s},
        {u"бо"_s, u"БОР"_s},
        {u"ёж"_s, u"ЕЖ"_s},
        {u"из"_s, u"ИЗЮМ"_s},
        {u"йог"_s, u"ЙОГ"_s},
        // Digits, signs and other letters are in the lines of entry 0.
        {u"5"_s, u"5-Й"_s},
        {u"("_s, u"(X"_s},
        {u"ü"_s, u"ÜBER"_s},
        // The last line of a range, and of the list.
        {u"луна"_s, u"ЛУНА"_s},
        {u"як"_s, u"ЯК"_s},
        // Cyrillic А has no lines; "-É" is looked for among the signs.
        {u"а"_s, QString()},
        {u"-é"_s, QString()},
        {u"zz"_s, QString()},
        {u"бя"_s, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const QString before = rig.currentCell();
        rig.picks.clear();
        type(c.typed);
        if (c.found.isEmpty()) {
            EXPECT_EQ(rig.currentCell(), before) << "the grid keeps what it showed";
            EXPECT_TRUE(rig.picks.empty());
            EXPECT_FALSE(rig.lookup.State().SearchFound);
            EXPECT_EQ(rig.host.colour, NotFoundTextColour);
        } else {
            EXPECT_EQ(rig.currentCell(), c.found);
            ASSERT_FALSE(rig.picks.empty());
            EXPECT_EQ(rig.picks.back(), (Pick{rig.grid.Row(), c.found, 0})) << "the moves end on the match";
            EXPECT_TRUE(rig.lookup.State().SearchFound);
            EXPECT_EQ(rig.host.colour, FoundTextColour);
        }
        EXPECT_EQ(rig.lookup.State().SyncSearchBoxFromGrid, 1);
    }
    EXPECT_EQ(rig.host.pages, QStringList{QString()}) << "the blank page of the opening, and no article";
}

TEST(AllHeadwordsWindowTest, FourHundredRowsAroundTheMatchSelectedOnEveryMove)
{
    QStringList lines;
    for (int i = 0; i < 1000; ++i)
        lines.append(u"W%1"_s.arg(i, 3, 10, QChar(u'0')));
    CombinedRig rig(lines);
    rig.search.SearchAllHeadwords(u"w500"_s);
    EXPECT_EQ(rig.grid.RowCount(), 400);
    EXPECT_EQ(rig.grid.Cell(0), u"W300"_s);
    EXPECT_EQ(rig.grid.Cell(399), u"W699"_s);
    EXPECT_EQ(rig.lookup.State().GridMatchRow, 200);
    EXPECT_EQ(rig.lookup.State().ListIndexOfRow(rig.grid.Row()), 500);
    // Ten rows down and back past the match centre it in a view of twenty.
    EXPECT_EQ(rig.picks, (std::vector<Pick>{{200, u"W500"_s, 0}, {210, u"W510"_s, 0}, {190, u"W490"_s, 0}, {200, u"W500"_s, 0}}));
    EXPECT_EQ(rig.grid.TopRow(), 190);
    EXPECT_EQ(rig.host.searchBoxText, QString()) << "the box keeps what was typed";
}

TEST_F(AllHeadwordsSearchTest, RootOpensOnTheTypedTextOrTheFirstLine)
{
    rig.host.searchBoxText = u"ле"_s;
    rig.openRoot();
    EXPECT_EQ(rig.currentCell(), u"ЛЕС"_s);
    EXPECT_EQ(rig.host.searchBoxText, u"ле"_s);

    // Emptying the box opens the root again, from the first line.
    rig.host.searchBoxText.clear();
    type(QString());
    EXPECT_EQ(rig.host.openings, 2);
    EXPECT_EQ(rig.currentCell(), u"(X"_s);
    EXPECT_EQ(rig.grid.Row(), 0);
    EXPECT_TRUE(rig.lookup.State().SearchFound);

    // Blanks alone search nothing and change nothing.
    const int modeCalls = rig.host.modeCalls;
    type(u"   "_s);
    EXPECT_EQ(rig.host.modeCalls, modeCalls);
    EXPECT_EQ(rig.currentCell(), u"(X"_s);
    EXPECT_EQ(rig.host.openings, 2);
}

TEST(AllHeadwordsOddListsTest, AnEmptyFirstLineOpensTheRootOnce)
{
    // A list made elsewhere: the merge never keeps an empty line.
    CombinedRig rig({QString(), u"A"_s});
    rig.openRoot();
    EXPECT_EQ(rig.host.openings, 1);
    EXPECT_EQ(rig.host.rootSearches, 1);
    EXPECT_EQ(rig.grid.RowCount(), 0);
    rig.search.SearchAllHeadwords(u"a"_s);
    EXPECT_EQ(rig.currentCell(), u"A"_s);
}

TEST(AllHeadwordsOddListsTest, AnEmptyListIsNeverSearched)
{
    CombinedRig rig({});
    rig.openRoot();
    EXPECT_EQ(rig.grid.RowCount(), 0);
    rig.lookup.State().SearchFound = true;
    rig.search.SearchAllHeadwords(u"а"_s);
    rig.search.SearchAllHeadwords(QString());
    EXPECT_TRUE(rig.lookup.State().SearchFound) << "nothing was searched";
    EXPECT_EQ(rig.host.modeCalls, 0);
    EXPECT_EQ(rig.host.openings, 1);
    EXPECT_FALSE(rig.search.IsInAllHeadwords(u"а"_s));
}

TEST(AllHeadwordsOddListsTest, AStaleIndexReadsNoLinePastTheEnd)
{
    CombinedRig rig({u"A"_s, u"B"_s});
    rig.LetterIndex = LetterIndexTable::Build({u"A"_s, u"B"_s, u"BB"_s, u"BC"_s, u"D"_s});
    rig.search.SearchAllHeadwords(u"d"_s);
    EXPECT_FALSE(rig.lookup.State().SearchFound);
    rig.search.SearchAllHeadwords(u"bc"_s);
    EXPECT_FALSE(rig.lookup.State().SearchFound);
    EXPECT_FALSE(rig.search.IsInAllHeadwords(u"d"_s));
    rig.search.SearchAllHeadwords(u"b"_s);
    EXPECT_EQ(rig.currentCell(), u"B"_s);
}

TEST_F(AllHeadwordsSearchTest, IsInAllHeadwordsWantsTheWholeLine)
{
    struct Case {
        QString word;
        bool found;
    };
    const Case cases[] = {
        {u"кот"_s, true},   {u"КОТ"_s, true},   {u"ко"_s, false},    {u"коты"_s, false},
        {u"-бис"_s, true},  {u"бис"_s, false},  {u"'tis"_s, true},   {u"étage"_s, true},
        {u"ÖL"_s, true},    {u"ÜBER"_s, true},  {u"ёж"_s, true},     {u"еж"_s, true},
        {u" кот"_s, false}, {QString(), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rig.search.IsInAllHeadwords(c.word), c.found) << c.word.toStdString();
}

TEST(AllHeadwordsPropertyTest, EveryHeadwordOfAMergedListIsFound)
{
    // Upper-case words of every kind of first character, as dictionaries
    // hold them, merged from three dictionaries.
    const QString alphabet = u"-'1(AEÉÀÖOZÜЁЕИЙКЯ"_s;
    const QStringList merged = Merged({RandomWords(alphabet, 1500, 11), RandomWords(alphabet, 1500, 12),
                                       RandomWords(alphabet, 1500, 13)});
    CombinedRig rig(merged);
    for (const QString &line : merged) {
        ASSERT_TRUE(rig.search.IsInAllHeadwords(line)) << line.toStdString();
        // A key can hold neither Ё nor blanks at its ends; any other line is
        // found by its own text.
        if (SearchKey(line) != line)
            continue;
        rig.search.SearchAllHeadwords(line);
        ASSERT_TRUE(rig.lookup.State().SearchFound) << line.toStdString();
        ASSERT_TRUE(rig.currentCell().startsWith(line)) << line.toStdString();
    }
}
