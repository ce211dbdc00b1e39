#pragma once

#include <QList>
#include <QStringList>

#include <array>
#include <initializer_list>
#include <memory>
#include <ostream>

#include "QtPrinters.h"
#include "ResultsTable.h"
#include "StringGrid.h"

// Readable failure messages for texts and rows.
// The results table as the main window sets it up: three 100-pixel columns, the header and one
// blank row.
inline std::unique_ptr<StringGrid> MakeResultsGrid()
{
    auto grid = std::make_unique<StringGrid>();
    grid->SetColCount(3);
    grid->SetFixedCols(0);
    grid->SetRowCount(2);
    grid->SetDefaultColWidth(100);
    WriteResultsHeader(*grid);
    return grid;
}

// Stores rows of (V, A, R) one after another.
inline void StoreRows(StringGrid& grid, std::initializer_list<std::array<double, 3>> rows)
{
    for (const auto& row : rows)
        StoreResultRow(grid, row[0], row[1], row[2]);
}

inline QList<QStringList> AllRows(const StringGrid& grid)
{
    QList<QStringList> rows;
    for (int r = 0; r < grid.RowCount(); ++r)
        rows.append(grid.Rows(r));
    return rows;
}
