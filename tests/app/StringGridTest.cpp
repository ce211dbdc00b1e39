#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "RowNames.h"
#include "StringGridTestSupport.h"
#include "VelErrors.h"

#include <vector>

namespace {

// A grid with `rows` rows whose cells read "c,r", so every move of a text is visible.
std::unique_ptr<StringGrid> MakeLabelledGrid(int rows)
{
    auto grid = MakeResultsGrid();
    grid->SetRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 3; ++c)
            grid->SetCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
    return grid;
}

QStringList RowLabels(const std::vector<int>& rows)
{
    QStringList labels;
    for (int r : rows)
        labels.append(QStringLiteral("%1,%2").arg(0).arg(r));
    return labels;
}

QStringList FirstColumn(const StringGrid& grid)
{
    QStringList texts;
    for (int r = 0; r < grid.RowCount(); ++r)
        texts.append(grid.Cells(0, r));
    return texts;
}

QPoint CellCentre(StringGrid& grid, int col, int row)
{
    return grid.visualRect(grid.model()->index(row - 1, col)).center();
}

} // namespace

TEST(StringGrid, StartsLikeAToolkitGridWithTheFocusBelowTheHeader)
{
    StringGrid grid;
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.DefaultRowHeight(), 24);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST(StringGrid, ResultsSetupGivesThreeHundredPixelColumnsAndTheHeaderAsRowZero)
{
    auto grid = MakeResultsGrid();
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->RowCount(), 2);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(grid->ColWidths(c), 100);
        // Row 0 is in the model and is what the fixed header row shows.
        EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), grid->Cells(c, 0));
    }
    EXPECT_EQ(grid->Rows(0), (QStringList{"Voltage", "Amperage", "Resistance"}));
    EXPECT_EQ(grid->Rows(1), (QStringList{"", "", ""}));
    EXPECT_EQ(grid->Row(), 1);
}

struct RowCountCase {
    const char* name;
    int rows;
    int focus;
    int newCount;
    int expectedCount;
    int expectedFocus;
    friend void PrintTo(const RowCountCase& Row, std::ostream* Os) { *Os << Row.name; }
};

class StringGridRowCount : public ::testing::TestWithParam<RowCountCase> {};

TEST_P(StringGridRowCount, KeepsTheFocusOnAnExistingRowBelowTheHeader)
{
    const RowCountCase& c = GetParam();
    auto grid = MakeLabelledGrid(c.rows);
    grid->SetRow(c.focus);
    grid->SetCol(2);
    grid->SetRowCount(c.newCount);
    EXPECT_EQ(grid->RowCount(), c.expectedCount);
    EXPECT_EQ(grid->Row(), c.expectedFocus);
    EXPECT_EQ(grid->Col(), 2);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringGridRowCount,
                         ::testing::Values(RowCountCase{"GrowKeepsFocus", 3, 2, 6, 6, 2},
                                           RowCountCase{"ShrinkAboveFocusKeepsIt", 6, 2, 4, 4, 2},
                                           RowCountCase{"ShrinkAcrossFocusMovesToNewLastRow", 6, 5, 3, 3, 2},
                                           RowCountCase{"ShrinkToLastRowOfFocus", 6, 5, 5, 5, 4},
                                           RowCountCase{"NeverBelowHeaderAndOneRow", 6, 4, 0, 2, 1}),
                         RowName());

TEST(StringGrid, RowsRemovedFromTheEndComeBackBlank)
{
    auto grid = MakeLabelledGrid(4);
    grid->SetRowCount(2);
    grid->SetRowCount(4);
    EXPECT_EQ(FirstColumn(*grid), (QStringList{"0,0", "0,1", "", ""}));
}

TEST(StringGrid, RowCopyIsCellByCellAndFillsMissingCellsWithBlanks)
{
    auto grid = MakeLabelledGrid(4);
    grid->SetRows(1, grid->Rows(3));
    EXPECT_EQ(grid->Rows(1), (QStringList{"0,3", "1,3", "2,3"}));
    grid->SetRows(2, {"only"});
    EXPECT_EQ(grid->Rows(2), (QStringList{"only", "", ""}));
    grid->SetRows(3, {"a", "b", "c", "beyond the last column"});
    EXPECT_EQ(grid->Rows(3), (QStringList{"a", "b", "c"}));
}

TEST(StringGrid, OutsideCellsReadEmptyAndRefuseWritesAndFocus)
{
    auto grid = MakeLabelledGrid(3);
    EXPECT_EQ(grid->Cells(3, 1), QString());
    EXPECT_EQ(grid->Cells(0, 3), QString());
    EXPECT_EQ(grid->Cells(-1, 0), QString());
    EXPECT_THROW(grid->SetCells(0, 3, "x"), EVelInvalidOperation);
    EXPECT_THROW(grid->SetCells(3, 0, "x"), EVelInvalidOperation);
    EXPECT_THROW(grid->SetRow(0), EVelInvalidOperation);
    EXPECT_THROW(grid->SetRow(3), EVelInvalidOperation);
    EXPECT_THROW(grid->SetFixedCols(1), EVelInvalidOperation);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(FirstColumn(*grid), (QStringList{"0,0", "0,1", "0,2"}));
}

struct DeleteRowCase {
    const char* name;
    int rows;
    int focus;
    int deleted;
    std::vector<int> remaining; // the original row numbers, in order
    int expectedFocus;
    friend void PrintTo(const DeleteRowCase& Row, std::ostream* Os) { *Os << Row.name; }
};

class StringGridDeleteRow : public ::testing::TestWithParam<DeleteRowCase> {};

TEST_P(StringGridDeleteRow, ClosesTheGapAndKeepsTheFocusedRowNumber)
{
    const DeleteRowCase& c = GetParam();
    auto grid = MakeLabelledGrid(c.rows);
    grid->SetRow(c.focus);
    grid->DeleteRow(c.deleted);
    EXPECT_EQ(FirstColumn(*grid), RowLabels(c.remaining));
    EXPECT_EQ(grid->Rows(grid->RowCount() - 1).size(), 3);
    EXPECT_EQ(grid->Row(), c.expectedFocus);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringGridDeleteRow,
                         ::testing::Values(DeleteRowCase{"FocusedMiddleRow", 5, 2, 2, {0, 1, 3, 4}, 2},
                                           DeleteRowCase{"RowAboveFocus", 5, 3, 1, {0, 2, 3, 4}, 3},
                                           DeleteRowCase{"RowBelowFocus", 5, 1, 3, {0, 1, 2, 4}, 1},
                                           DeleteRowCase{"FocusedLastRow", 5, 4, 4, {0, 1, 2, 3}, 3},
                                           DeleteRowCase{"FocusOnLastRowAboveDeleted", 5, 4, 1, {0, 2, 3, 4}, 3}),
                         RowName());

TEST(StringGrid, DeletingTheOnlyRowBelowTheHeaderBlanksIt)
{
    auto grid = MakeLabelledGrid(2);
    grid->DeleteRow(1);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->Rows(1), (QStringList{"", "", ""}));
    EXPECT_EQ(grid->Rows(0), (QStringList{"0,0", "1,0", "2,0"}));
}

// The header row must never take the focus, whatever the user does with keys or mouse.
TEST(StringGrid, KeysMoveTheFocusButNeverOntoTheHeader)
{
    auto grid = MakeLabelledGrid(4);
    grid->show();
    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_Up);
    EXPECT_EQ(grid->Row(), 1);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    QTest::keyClick(grid.get(), Qt::Key_Right);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Col(), 1);
    QTest::keyClick(grid.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid->Row(), 1);
    QTest::keyClick(grid.get(), Qt::Key_PageDown);
    EXPECT_EQ(grid->Row(), 3);
    QTest::keyClick(grid.get(), Qt::Key_PageUp);
    EXPECT_EQ(grid->Row(), 1);
}

TEST(StringGrid, MouseFocusesCellsButNotTheHeader)
{
    auto grid = MakeLabelledGrid(4);
    grid->resize(320, 200);
    grid->show();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(*grid, 2, 3));
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), 2);
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(150, 10));
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), 2);
}

TEST(StringGrid, HeaderStaysWhileRowsScroll)
{
    auto grid = MakeLabelledGrid(50);
    grid->resize(320, 200);
    grid->show();
    grid->SetRow(49);
    grid->scrollTo(grid->currentIndex());
    EXPECT_GT(grid->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(grid->horizontalHeader()->isVisible());
    EXPECT_EQ(grid->horizontalHeader()->height(), 24);
}
