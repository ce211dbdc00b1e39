#pragma once

class StringGrid;

// The calculator's use of the results grid: a header row, stored calculations oldest first, and
// always one blank last row that the next Store fills.

void WriteResultsHeader(StringGrid& grid);

// Fills the blank last row with the three values in the current number format and adds a new
// blank row below it. The focused row stays where it is.
void StoreResultRow(StringGrid& grid, double voltage, double amperage, double resistance);

// Removes stored row r. An empty table, and the blank last row itself, are left alone: the table
// must keep ending in the blank row the next Store writes into.
void DeleteGridRow(StringGrid& grid, int r);
