#pragma once

#include <QStringList>
#include <QTableView>

class StringGridModel;

// The results table's grid: a plain text grid with one fixed header row, addressed as
// (column, row) with row 0 being that header. Row 0 lives in the model like every other row, so
// export and print read it through Cells(); on screen it is drawn by the view's own header, which
// keeps it in place while the rows scroll and makes it impossible to focus.
class StringGrid : public QTableView {
    Q_OBJECT

public:
    explicit StringGrid(QWidget* parent = nullptr);
    ~StringGrid() override;

    int ColCount() const;
    // At least one column; new columns start empty at the default width.
    void SetColCount(int count);

    int RowCount() const;
    // Rows are added or removed at the end; the header and one row below it always stay, so
    // counts under 2 are taken as 2. When the focused row goes away the focus moves to the new
    // last row.
    void SetRowCount(int count);

    int FixedRows() const { return 1; }
    // Only a grid without fixed columns exists here; anything else raises EVelInvalidOperation.
    void SetFixedCols(int count);

    int DefaultColWidth() const;
    // Resizes every column, as a fresh default does in a string grid.
    void SetDefaultColWidth(int width);
    int ColWidths(int col) const;
    int DefaultRowHeight() const;

    // Cells outside the grid read as empty; writing one raises EVelInvalidOperation.
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);

    // The focused cell. Its row is never the header: 1 <= Row() < RowCount(). Moving it outside
    // that range raises EVelInvalidOperation.
    int Row() const;
    void SetRow(int row);
    int Col() const;
    void SetCol(int col);

    // A whole row as ColCount() texts; assigning copies cell by cell, cells the list lacks
    // become empty.
    QStringList Rows(int row) const;
    void SetRows(int row, const QStringList& cells);

    // Takes row `row` (>= 1) out and closes the gap, leaving the focus on the same row number
    // (or on the new last row when it was the last). The same result as shifting every later row
    // up by one and dropping the last, in one step instead of a copy per cell.
    void DeleteRow(int row);

protected:
    // QTableView tells screen readers that every new current cell has the focus, also while the
    // focus is elsewhere: a Delete pressed on its button would move the reader into the table.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void Focus(int row, int col);
    void CheckCell(int col, int row) const;

    StringGridModel* model_;
};
