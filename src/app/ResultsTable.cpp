#include "ResultsTable.h"

#include "FloatToText.h"
#include "StringGrid.h"

void WriteResultsHeader(StringGrid& grid)
{
    grid.SetCells(0, 0, QStringLiteral("Voltage"));
    grid.SetCells(1, 0, QStringLiteral("Amperage"));
    grid.SetCells(2, 0, QStringLiteral("Resistance"));
}

void StoreResultRow(StringGrid& grid, double voltage, double amperage, double resistance)
{
    const int n = grid.RowCount();
    grid.SetRowCount(n + 1);
    grid.SetCells(0, n - 1, FloatToGeneralText(voltage));
    grid.SetCells(1, n - 1, FloatToGeneralText(amperage));
    grid.SetCells(2, n - 1, FloatToGeneralText(resistance));
}

void DeleteGridRow(StringGrid& grid, int r)
{
    const int rows = grid.RowCount();
    if (rows <= 2)
        return;
    // Dropping the blank row would leave a stored row last, and the next Store would overwrite it.
    if (r < 1 || r >= rows - 1)
        return;
    grid.DeleteRow(r);
}
