#include "StringGrid.h"

#include <QAbstractTableModel>
#include <QHeaderView>

#include <algorithm>
#include <vector>

#include "VelErrors.h"

// Grid row g is view row g - 1; grid row 0 is shown as the horizontal header's section texts.
class StringGridModel : public QAbstractTableModel {
public:
    explicit StringGridModel(QObject* parent) : QAbstractTableModel(parent) {}

    int Cols() const { return cols_; }
    int Rows() const { return static_cast<int>(rows_.size()); }

    const QString& Cell(int col, int row) const
    {
        static const QString empty;
        if (row < 0 || row >= Rows() || col < 0)
            return empty;
        const QStringList& cells = rows_[static_cast<size_t>(row)];
        return col < cells.size() ? cells[col] : empty;
    }

    void SetCell(int col, int row, const QString& text)
    {
        QStringList& cells = rows_[static_cast<size_t>(row)];
        if (col < cells.size()) {
            if (cells[col] == text)
                return;
            cells[col] = text;
        } else {
            if (text.isEmpty())
                return;
            // Rows stay empty lists until written, so a long table of blank rows costs nothing.
            cells.reserve(cols_);
            while (cells.size() < col)
                cells.append(QString());
            cells.append(text);
        }
        if (row == 0)
            emit headerDataChanged(Qt::Horizontal, col, col);
        else
            emit dataChanged(index(row - 1, col), index(row - 1, col), {Qt::DisplayRole});
    }

    void SetRowCount(int count)
    {
        const int old = Rows();
        if (count > old) {
            beginInsertRows({}, old - 1, count - 2);
            rows_.resize(static_cast<size_t>(count));
            endInsertRows();
        } else if (count < old) {
            beginRemoveRows({}, count - 1, old - 2);
            rows_.resize(static_cast<size_t>(count));
            endRemoveRows();
        }
    }

    void SetColCount(int count)
    {
        const int old = cols_;
        if (count > old) {
            beginInsertColumns({}, old, count - 1);
            cols_ = count;
            endInsertColumns();
        } else if (count < old) {
            beginRemoveColumns({}, count, old - 1);
            cols_ = count;
            for (QStringList& cells : rows_)
                if (cells.size() > count)
                    cells.resize(count);
            endRemoveColumns();
        }
    }

    void RemoveRow(int row)
    {
        beginRemoveRows({}, row - 1, row - 1);
        rows_.erase(rows_.begin() + row);
        endRemoveRows();
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : Rows() - 1; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : cols_; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return Cell(index.column(), index.row() + 1);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal)
            return {};
        if (role == Qt::DisplayRole)
            return Cell(section, 0);
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

private:
    int cols_ = 0;
    std::vector<QStringList> rows_{1};
};

namespace {

constexpr int kDefaultCols = 5;
constexpr int kDefaultRows = 5;
constexpr int kDefaultColWidth = 64;
constexpr int kRowHeight = 24;

[[noreturn]] void RaiseIndexError()
{
    throw EVelInvalidOperation(QStringLiteral("Grid index out of range"));
}

} // namespace

StringGrid::StringGrid(QWidget* parent) : QTableView(parent), model_(new StringGridModel(this))
{
    QHeaderView* top = horizontalHeader();
    top->setMinimumSectionSize(0);
    top->setDefaultSectionSize(kDefaultColWidth);
    top->setSectionResizeMode(QHeaderView::Fixed);
    top->setSectionsClickable(false);
    top->setSectionsMovable(false);
    top->setHighlightSections(false);
    top->setStretchLastSection(false);
    top->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    top->setFixedHeight(kRowHeight);

    QHeaderView* side = verticalHeader();
    side->hide();
    side->setMinimumSectionSize(0);
    side->setDefaultSectionSize(kRowHeight);
    side->setSectionResizeMode(QHeaderView::Fixed);

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setShowGrid(true);
    setCornerButtonEnabled(false);
    // Tab leaves the grid for the next control, as in any grid that does not use Tab itself.
    setTabKeyNavigation(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setDragEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    setModel(model_);
    model_->SetColCount(kDefaultCols);
    model_->SetRowCount(kDefaultRows);
    Focus(1, 0);
}

StringGrid::~StringGrid() = default;

int StringGrid::ColCount() const
{
    return model_->Cols();
}

void StringGrid::SetColCount(int count)
{
    count = std::max(count, 1);
    if (count == ColCount())
        return;
    const int row = Row();
    const int col = Col();
    model_->SetColCount(count);
    Focus(row, std::min(col, count - 1));
}

int StringGrid::RowCount() const
{
    return model_->Rows();
}

void StringGrid::SetRowCount(int count)
{
    count = std::max(count, 2);
    if (count == RowCount())
        return;
    const int row = Row();
    const int col = Col();
    model_->SetRowCount(count);
    if (row >= count || !currentIndex().isValid())
        Focus(std::min(row, count - 1), col);
}

void StringGrid::SetFixedCols(int count)
{
    if (count != 0)
        throw EVelInvalidOperation(QStringLiteral("Fixed columns are not supported"));
}

int StringGrid::DefaultColWidth() const
{
    return horizontalHeader()->defaultSectionSize();
}

void StringGrid::SetDefaultColWidth(int width)
{
    horizontalHeader()->setDefaultSectionSize(std::max(width, 0));
}

int StringGrid::ColWidths(int col) const
{
    return horizontalHeader()->sectionSize(col);
}

int StringGrid::DefaultRowHeight() const
{
    return verticalHeader()->defaultSectionSize();
}

QString StringGrid::Cells(int col, int row) const
{
    if (col >= ColCount())
        return {};
    return model_->Cell(col, row);
}

void StringGrid::SetCells(int col, int row, const QString& text)
{
    CheckCell(col, row);
    model_->SetCell(col, row, text);
}

int StringGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void StringGrid::SetRow(int row)
{
    if (row < 1 || row >= RowCount())
        RaiseIndexError();
    Focus(row, Col());
}

int StringGrid::Col() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : 0;
}

void StringGrid::SetCol(int col)
{
    if (col < 0 || col >= ColCount())
        RaiseIndexError();
    Focus(Row(), col);
}

QStringList StringGrid::Rows(int row) const
{
    QStringList cells;
    cells.reserve(ColCount());
    for (int col = 0; col < ColCount(); ++col)
        cells.append(Cells(col, row));
    return cells;
}

void StringGrid::SetRows(int row, const QStringList& cells)
{
    CheckCell(0, row);
    for (int col = 0; col < ColCount(); ++col)
        model_->SetCell(col, row, cells.value(col));
}

void StringGrid::DeleteRow(int row)
{
    if (row < 1 || row >= RowCount())
        RaiseIndexError();
    if (RowCount() == 2) {
        SetRows(1, {});
        return;
    }
    const int focusRow = Row();
    const int focusCol = Col();
    model_->RemoveRow(row);
    Focus(std::min(focusRow, RowCount() - 1), focusCol);
}

void StringGrid::Focus(int row, int col)
{
    const QModelIndex target = model_->index(row - 1, col);
    if (target != currentIndex() || !selectionModel()->isSelected(target))
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
}

void StringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (hasFocus())
        QTableView::currentChanged(current, previous);
    else                                                      // the table view adds only what a focused table needs
        QAbstractItemView::currentChanged(current, previous); // NOLINT(bugprone-parent-virtual-call)
}

void StringGrid::CheckCell(int col, int row) const
{
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        RaiseIndexError();
}
