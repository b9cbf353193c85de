#include "HeadwordGrid.h"

#include "TestSupport.h"

#include <QSignalSpy>

#include <vector>

using namespace vocab;

namespace {

using vocab::test::numberedLines;

class HeadwordGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.SetHeight(10 * HeadwordGrid::DefaultRowHeight);
        grid.SetSelectCellHandler([this](int row) { selected.push_back(row); });
    }
    void show(const QStringList &lines)
    {
        grid.SetRowCount(int(lines.size()));
        grid.WriteCells(lines, 0, int(lines.size()));
    }

    HeadwordGrid grid;
    std::vector<int> selected;
};

TEST_F(HeadwordGridTest, HandlerFiresOnAChangeOfRowWhileAttached)
{
    show(numberedLines(30));
    grid.SetRow(0);
    EXPECT_TRUE(selected.empty()) << "the row it already has";
    grid.SetRow(5);
    grid.SetRow(5);
    grid.DetachSelectCell();
    grid.SetRow(6);
    grid.AttachSelectCell();
    grid.SetRow(99); // clamped to the last row
    EXPECT_EQ(selected, (std::vector<int>{5, 29}));
    EXPECT_EQ(grid.Row(), 29);
}

TEST_F(HeadwordGridTest, RowChangesThatAreNotPicksCallNoHandler)
{
    show(numberedLines(30));
    grid.SetRow(20);
    selected.clear();
    grid.SetRowCount(10);
    EXPECT_EQ(grid.Row(), 9);
    grid.WriteCells(numberedLines(5), 0, 5);
    grid.Clear();
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.RowCount(), 0);
    grid.SetRow(3);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_TRUE(selected.empty());
}

TEST_F(HeadwordGridTest, TheLeastScrollShowsTheRow)
{
    show(numberedLines(100));
    QSignalSpy tops(&grid, &HeadwordGrid::TopRowChanged);
    grid.SetRow(9);
    EXPECT_EQ(grid.TopRow(), 0);
    grid.SetRow(10);
    EXPECT_EQ(grid.TopRow(), 1);
    grid.SetRow(50);
    EXPECT_EQ(grid.TopRow(), 41);
    grid.SetRow(45);
    EXPECT_EQ(grid.TopRow(), 41);
    grid.SetRow(40);
    EXPECT_EQ(grid.TopRow(), 40);
    EXPECT_EQ(tops.count(), 3);
    grid.SetTopRow(500);
    EXPECT_EQ(grid.TopRow(), 90);
    grid.SetClientHeight(5 * HeadwordGrid::DefaultRowHeight);
    EXPECT_EQ(grid.TopRow(), 90);
    EXPECT_EQ(grid.VisibleRowCount(), 10);
    grid.SetTopRow(500);
    EXPECT_EQ(grid.TopRow(), 95);
}

TEST_F(HeadwordGridTest, CellsAreAWindowOnTheSharedList)
{
    const QStringList lines = numberedLines(200000);
    grid.SetRowCount(4);
    grid.WriteCells(lines, 199998, 4); // only two lines there
    EXPECT_TRUE(grid.Lines().constData() == lines.constData()) << "no copy of the list";
    EXPECT_EQ(grid.CellCount(), 2);
    EXPECT_EQ(grid.Cell(0), QStringLiteral("199998"));
    EXPECT_EQ(grid.Cell(1), QStringLiteral("199999"));
    EXPECT_EQ(grid.Cell(2), QString());
    EXPECT_EQ(grid.data(grid.index(1), Qt::DisplayRole).toString(), QStringLiteral("199999"));
    EXPECT_TRUE(grid.ShowsLines(lines, 199998, 2));
    EXPECT_FALSE(grid.ShowsLines(QStringList(lines), 199998, 3));
    EXPECT_FALSE(grid.ShowsLines(numberedLines(200000), 199998, 2)) << "equal text, another list";
    EXPECT_EQ(grid.rowCount(), 4);
}

TEST_F(HeadwordGridTest, RowCountChangesAreReportedAsInsertsAndRemoves)
{
    show(numberedLines(5));
    QSignalSpy inserted(&grid, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&grid, &QAbstractItemModel::rowsRemoved);
    grid.SetRowCount(6);
    EXPECT_EQ(grid.Cell(5), QString());
    grid.SetRowCount(5);
    ASSERT_EQ(inserted.count(), 1);
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 5);
    EXPECT_EQ(removed.at(0).at(1).toInt(), 5);
}

TEST_F(HeadwordGridTest, SearchBoxMovesStopAtTheEdgesAndMarkTheTag)
{
    show(numberedLines(3));
    EXPECT_FALSE(grid.MoveRowFromSearchBox(-1));
    EXPECT_EQ(grid.Tag(), HeadwordGrid::NormalTag);
    EXPECT_TRUE(grid.MoveRowFromSearchBox(+1));
    EXPECT_EQ(grid.Tag(), HeadwordGrid::RowFromSearchBoxTag);
    grid.SetTag(HeadwordGrid::NormalTag);
    EXPECT_TRUE(grid.MoveRowFromSearchBox(+1));
    EXPECT_FALSE(grid.MoveRowFromSearchBox(+1));
    EXPECT_EQ(selected, (std::vector<int>{1, 2}));

    grid.Clear();
    grid.SetTag(HeadwordGrid::NormalTag);
    EXPECT_FALSE(grid.MoveRowFromSearchBox(+1));
    EXPECT_EQ(grid.Tag(), HeadwordGrid::NormalTag);
}

} // namespace
