// The grid's selection through the contract: gathered per event round and
// applied as ranges, read back cell by cell.
#include "platform/gui/TableGrid.h"

#include "platform/gui/TableGridModel.h"

#include <QItemSelectionModel>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <set>
#include <utility>

namespace tollivex::platform {

void TableGrid::QueueSelection(int row, std::uint8_t columns, bool select)
{
    if (pending_ && pending_->select != select)
        FlushSelection();
    if (!pending_) {
        pending_ = PendingSelection{select, {}};
        // Shown with the next event round even if nothing reads it first.
        QTimer::singleShot(0, this, [this] { FlushSelection(); });
    }
    pending_->columns[row] |= columns;
}

void TableGrid::FlushSelection() const
{
    if (!pending_ || !frame_)
        return;
    const PendingSelection pending = std::move(*pending_);
    pending_.reset();
    // Consecutive rows with the same columns become one range per column span.
    QItemSelection selection;
    auto emitRun = [&](int top, int bottom, std::uint8_t mask) {
        for (int c = 0; c < model_->ColumnCount();) {
            if (!(mask & (1u << c))) {
                ++c;
                continue;
            }
            int end = c;
            while (end + 1 < model_->ColumnCount() && (mask & (1u << (end + 1))))
                ++end;
            selection.append(QItemSelectionRange(model_->index(top, c), model_->index(bottom, end)));
            c = end + 1;
        }
    };
    int top = -1, bottom = -1;
    std::uint8_t mask = 0;
    for (const auto& [row, columns] : pending.columns) {
        if (top >= 0 && row == bottom + 1 && columns == mask) {
            bottom = row;
            continue;
        }
        if (top >= 0)
            emitRun(top, bottom, mask);
        top = bottom = row;
        mask = columns;
    }
    if (top >= 0)
        emitRun(top, bottom, mask);
    view_->selectionModel()->select(selection,
                                    pending.select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

bool TableGrid::IsRowSelected(const GridRow& row) const
{
    FlushSelection();
    return IsCurrent(row) && view_->selectionModel()->isRowSelected(row.index, QModelIndex());
}

void TableGrid::SetRowSelected(const GridRow& row, bool selected)
{
    if (IsCurrent(row))
        QueueSelection(row.index, static_cast<std::uint8_t>((1u << model_->ColumnCount()) - 1), selected);
}

bool TableGrid::IsCellSelected(const GridCell& cell) const
{
    FlushSelection();
    return IsCurrent(cell) && view_->selectionModel()->isSelected(model_->index(cell.row.index, cell.column));
}

void TableGrid::SetCellSelected(const GridCell& cell, bool selected)
{
    if (IsCurrent(cell))
        QueueSelection(cell.row.index, static_cast<std::uint8_t>(1u << cell.column), selected);
}

std::vector<GridCell> TableGrid::SelectedCells() const
{
    std::vector<GridCell> cells;
    if (!frame_)
        return cells;
    FlushSelection();
    std::set<std::pair<int, int>> seen;
    const QItemSelection selection = view_->selectionModel()->selection();
    for (const QItemSelectionRange& range : selection) {
        for (int r = range.top(); r <= range.bottom(); ++r) {
            for (int c = range.left(); c <= range.right(); ++c) {
                if (seen.insert({r, c}).second)
                    cells.push_back(GridCell{GridRow{r, binding_}, c});
            }
        }
    }
    return cells;
}

void TableGrid::MakeCurrentRow(const GridRow& row)
{
    if (!IsCurrent(row))
        return;
    FlushSelection();
    const QModelIndex index = model_->index(row.index, std::max(model_->Columns().name, 0));
    view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_->scrollTo(index);
}

} // namespace tollivex::platform
