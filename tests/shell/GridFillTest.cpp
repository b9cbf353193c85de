#include "GridFill.h"
#include "HeadwordGrid.h"
#include "OpenList.h"
#include "SearchState.h"

#include "TestSupport.h"

#include <stdexcept>
#include <vector>

using namespace vocab;

namespace {

using vocab::test::numberedLines;

TEST(GridWindowTest, WindowAroundTheMatch)
{
    struct Case {
        qsizetype count, i;
        int w;
        qsizetype lo;
        int rows, matchRow;
    };
    const Case cases[] = {
        {1000, 600, 400, 200, 800, 400}, {1000, 100, 400, 0, 500, 100}, {1000, 950, 400, 550, 450, 400},
        {5, 4, 400, 0, 5, 4},            {50, 20, 200010, 0, 50, 20},   {1, 0, 400, 0, 1, 0},
        {900, 0, 400, 0, 400, 0},        {1000, 400, 400, 0, 800, 400}, {1000, 999, 200, 799, 201, 200},
    };
    for (const Case &c : cases) {
        const GridWindow w = GridWindowAround(c.count, c.i, c.w);
        EXPECT_EQ(w.lo, c.lo) << c.count << "/" << c.i << "/" << c.w;
        EXPECT_EQ(w.rows(), c.rows) << c.count << "/" << c.i << "/" << c.w;
        EXPECT_EQ(w.matchRow, c.matchRow) << c.count << "/" << c.i << "/" << c.w;
        EXPECT_EQ(w.lo + w.matchRow, c.i);
    }
}

struct Selection {
    int row;
    int rowCount;
    bool operator==(const Selection &) const = default;
};

class GridFillTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.SetHeight(10 * HeadwordGrid::DefaultRowHeight);
        grid.SetSelectCellHandler([this](int row) { selected.push_back({row, grid.RowCount()}); });
        QObject::connect(&grid, &HeadwordGrid::modelReset, [this] { ++cellWrites; });
    }
    bool fillLetterFile(qsizetype i)
    {
        list.CurrentHeadwords = LineList::FromLines(lines);
        return FillGridFromLetterFile(grid, state, list, i);
    }

    const QStringList lines = numberedLines(1000);
    HeadwordGrid grid;
    SearchState state;
    OpenList list;
    std::vector<Selection> selected;
    int cellWrites = 0;
};

TEST_F(GridFillTest, MatchStandsInTheMiddleAndIsSelectedOnce)
{
    ASSERT_TRUE(fillLetterFile(600));
    EXPECT_EQ(grid.RowCount(), 800);
    EXPECT_EQ(grid.Cell(0), QStringLiteral("200"));
    EXPECT_EQ(grid.Row(), 400);
    EXPECT_EQ(grid.TopRow(), 395) << "five rows above the match, four below";
    EXPECT_EQ(selected, (std::vector<Selection>{{400, 800}}));
    EXPECT_EQ(state.GridMatchIndex, 600);
    EXPECT_EQ(state.GridMatchRow, 400);
    EXPECT_EQ(state.ListIndexOfRow(0), 200);
    EXPECT_TRUE(grid.SelectCellAttached());
}

TEST_F(GridFillTest, MovesAreLimitedByTheLinesBeforeAndAfterTheMatch)
{
    struct Case {
        qsizetype i;
        int row, topRow, rowCount;
    };
    const Case cases[] = {
        {0, 0, 0, 400},      // nothing above
        {2, 2, 0, 402},      // two lines above
        {998, 400, 392, 402}, // one line below: the view ends with the list
        {500, 400, 395, 800},
    };
    for (const Case &c : cases) {
        grid.Clear();
        selected.clear();
        ASSERT_TRUE(fillLetterFile(c.i));
        EXPECT_EQ(grid.Row(), c.row) << c.i;
        EXPECT_EQ(grid.TopRow(), c.topRow) << c.i;
        EXPECT_EQ(selected, (std::vector<Selection>{{c.row, c.rowCount}})) << c.i;
        EXPECT_EQ(grid.Cell(grid.Row()), QString::number(c.i));
    }
}

TEST_F(GridFillTest, MatchOnTheLastRowBorrowsARowToStepTo)
{
    ASSERT_TRUE(fillLetterFile(999));
    EXPECT_EQ(selected, (std::vector<Selection>{{400, 402}})) << "selected while the extra row stood";
    EXPECT_EQ(grid.RowCount(), 401);
    EXPECT_EQ(grid.Row(), 400);
    EXPECT_EQ(grid.Cell(400), QStringLiteral("999"));

    // A list shorter than the view.
    list.CurrentHeadwords = LineList::FromLines(numberedLines(5));
    selected.clear();
    ASSERT_TRUE(FillGridFromLetterFile(grid, state, list, 4));
    EXPECT_EQ(selected, (std::vector<Selection>{{4, 6}}));
    EXPECT_EQ(grid.RowCount(), 5);
}

TEST_F(GridFillTest, AGridOfFewerThanThreeRowsIsLeftAsItWas)
{
    ASSERT_TRUE(fillLetterFile(600));
    selected.clear();
    grid.SetHeight(3 * HeadwordGrid::DefaultRowHeight - 1);
    EXPECT_FALSE(fillLetterFile(10));
    EXPECT_TRUE(selected.empty());
    EXPECT_EQ(grid.Row(), 400);
    EXPECT_EQ(grid.Cell(0), QStringLiteral("200"));
    EXPECT_EQ(state.ListIndexOfRow(400), 600) << "rows and their lines still agree";
}

TEST_F(GridFillTest, AllHeadwordsSelectsOnEveryMoveAndEndsOnTheMatch)
{
    ASSERT_TRUE(FillGridFromAllHeadwords(grid, state, LineList::FromLines(lines), 600));
    EXPECT_EQ(grid.RowCount(), 400);
    EXPECT_EQ(grid.Cell(0), QStringLiteral("400"));
    EXPECT_EQ(selected, (std::vector<Selection>{{200, 400}, {205, 400}, {195, 400}, {200, 400}}));
    EXPECT_EQ(grid.TopRow(), 195);
}

TEST_F(GridFillTest, WholeListIsWrittenOnlyWhenTheGridDoesNotHoldIt)
{
    list.CurrentListName = QStringLiteral("w");
    list.CurrentHeadwords = LineList::FromLines(lines);
    state.LastGridList = GridReloadSentinel;
    ASSERT_TRUE(FillGridFromWholeList(grid, state, list, 10));
    EXPECT_EQ(cellWrites, 1);
    EXPECT_EQ(grid.RowCount(), 1000);
    EXPECT_TRUE(grid.LineListShown().SharesLinesWith(list.CurrentHeadwords));

    state.LastGridList = list.CurrentListName;
    ASSERT_TRUE(FillGridFromWholeList(grid, state, list, 700));
    EXPECT_EQ(cellWrites, 1);
    EXPECT_EQ(grid.Cell(grid.Row()), QStringLiteral("700"));

    // Emptied in between (a description page, say) under the same list name.
    grid.Clear();
    const int writes = cellWrites;
    ASSERT_TRUE(FillGridFromWholeList(grid, state, list, 5));
    EXPECT_EQ(cellWrites, writes + 1);
    EXPECT_EQ(grid.Cell(grid.Row()), QStringLiteral("5"));
}

} // namespace

TEST_F(GridFillTest, AHandlerThatThrowsLeavesNoBorrowedRowAndTheHandlerAttached)
{
    // The handler writes the article page; the write fails with the match on
    // the last row, while a row is borrowed, and elsewhere.
    for (const qsizetype i : {qsizetype(999), qsizetype(500)}) {
        grid.Clear();
        grid.SetSelectCellHandler([](int) { throw std::runtime_error("the document is not ready"); });
        list.CurrentHeadwords = LineList::FromLines(lines);
        EXPECT_THROW(FillGridFromLetterFile(grid, state, list, i), std::runtime_error) << i;
        EXPECT_TRUE(grid.SelectCellAttached()) << i;
        EXPECT_EQ(grid.RowCount(), i == 999 ? 401 : 800) << i;
        EXPECT_EQ(grid.Cell(grid.Row()), QString::number(i)) << i;
    }
}
