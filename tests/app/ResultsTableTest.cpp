#include <gtest/gtest.h>

#include "RowNames.h"
#include "ScopedFormat.h"
#include "StringGridTestSupport.h"

#include <string>

namespace {

using Rows = QList<QStringList>;

const QStringList kHeader{"Voltage", "Amperage", "Resistance"};
const QStringList kBlank{"", "", ""};

// The three stores of mode 0 with (A, R) = (1, 2), (2, 3), (3, 4).
std::unique_ptr<StringGrid> GridWithThreeStores()
{
    auto grid = MakeResultsGrid();
    StoreRows(*grid, {{2, 1, 2}, {6, 2, 3}, {12, 3, 4}});
    return grid;
}

} // namespace

TEST(ResultsTable, StartsWithHeaderAndOneBlankRow)
{
    auto grid = MakeResultsGrid();
    EXPECT_EQ(AllRows(*grid), (Rows{kHeader, kBlank}));
    EXPECT_EQ(grid->Row(), 1);
}

TEST(ResultsTable, StoreFillsTheBlankRowAndAddsANewOneWithoutMovingTheFocus)
{
    auto grid = GridWithThreeStores();
    EXPECT_EQ(AllRows(*grid), (Rows{kHeader, {"2", "1", "2"}, {"6", "2", "3"}, {"12", "3", "4"}, kBlank}));
    EXPECT_EQ(grid->Row(), 1);
}

TEST(ResultsTable, StoredTextKeepsTheSeparatorItWasStoredWith)
{
    auto grid = MakeResultsGrid();
    {
        ScopedFormat comma(QChar(','), QChar('.'));
        StoreResultRow(*grid, 2.25, 1.5, 1.5);
    }
    StoreResultRow(*grid, 2.25, 1.5, 1.5);
    EXPECT_EQ(AllRows(*grid), (Rows{kHeader, {"2,25", "1,5", "1,5"}, {"2.25", "1.5", "1.5"}, kBlank}));
}

struct DeleteCase {
    const char* name;
    int focus;
    Rows expected;
    int expectedFocus;
    friend void PrintTo(const DeleteCase& Row, std::ostream* Os) { *Os << Row.name; }
};

class ResultsTableDelete : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(ResultsTableDelete, RemovesTheCurrentStoredRowOnly)
{
    const DeleteCase& c = GetParam();
    auto grid = GridWithThreeStores();
    grid->SetRow(c.focus);
    DeleteGridRow(*grid, grid->Row());
    EXPECT_EQ(AllRows(*grid), c.expected);
    EXPECT_EQ(grid->RowCount(), c.expected.size());
    EXPECT_EQ(grid->Row(), c.expectedFocus);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultsTableDelete,
    ::testing::Values(DeleteCase{"Oldest", 1, Rows{kHeader, {"6", "2", "3"}, {"12", "3", "4"}, kBlank}, 1},
                      DeleteCase{"Middle", 2, Rows{kHeader, {"2", "1", "2"}, {"12", "3", "4"}, kBlank}, 2},
                      DeleteCase{"Newest", 3, Rows{kHeader, {"2", "1", "2"}, {"6", "2", "3"}, kBlank}, 3},
                      // The blank row stays: removing it would let the next Store overwrite "12".
                      DeleteCase{"BlankLastRowIsKept", 4,
                                 Rows{kHeader, {"2", "1", "2"}, {"6", "2", "3"}, {"12", "3", "4"}, kBlank}, 4}),
    RowName());

TEST(ResultsTable, DeleteOnAnEmptyTableChangesNothing)
{
    auto grid = MakeResultsGrid();
    DeleteGridRow(*grid, grid->Row());
    EXPECT_EQ(AllRows(*grid), (Rows{kHeader, kBlank}));
}

// Deleting at the blank row and storing again must neither overwrite stored rows nor bring
// deleted texts back.
TEST(ResultsTable, StoresAfterDeletesAtTheEndAppendAfterTheStoredRows)
{
    auto grid = GridWithThreeStores();
    grid->SetRow(3);
    DeleteGridRow(*grid, grid->Row());
    grid->SetRow(grid->RowCount() - 1);
    DeleteGridRow(*grid, grid->Row());
    DeleteGridRow(*grid, grid->Row());
    StoreRows(*grid, {{20, 4, 5}, {30, 5, 6}});
    EXPECT_EQ(AllRows(*grid),
              (Rows{kHeader, {"2", "1", "2"}, {"6", "2", "3"}, {"20", "4", "5"}, {"30", "5", "6"}, kBlank}));
}

TEST(ResultsTable, DeletingEveryStoredRowLeavesTheEmptyTable)
{
    auto grid = GridWithThreeStores();
    for (int i = 0; i < 5; ++i)
        DeleteGridRow(*grid, grid->Row());
    EXPECT_EQ(AllRows(*grid), (Rows{kHeader, kBlank}));
    EXPECT_EQ(grid->Row(), 1);
}
