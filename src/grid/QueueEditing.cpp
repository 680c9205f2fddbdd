// Editing the queue from the grid: select all, remove the selected items,
// clear the finished ones, move one item up or down.
//
// While a rebuild runs (bFillingList) the grid still shows the old table, whose
// IDs may no longer fit the queue; the commands that read IDs from the grid
// are then ignored. Each row is also checked against the queue by its address
// before it is acted on. A running download stays on its item: its address is
// noted before the change and its index and row are found again afterwards.

#include "grid/DownloadGridView.h"

#include "grid/RowItem.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "scheduler/RunningItemAnchor.h"

#include <unordered_set>

namespace tollivex {

using platform::GridCell;
using platform::GridRow;

namespace {

// The item of the first selected cell's row; -1 when none or it no longer fits.
int FirstSelectedItem(const platform::GridControl& grid)
{
    const std::vector<GridCell> cells = grid.SelectedCells();
    if (cells.empty())
        return -1;
    return QueueIndexOfRow(grid, cells.front().row);
}

} // namespace

void DownloadGridView::SelectAll()
{
    for (auto row = grid_.FirstRow(); row; row = grid_.NextRow(*row))
        grid_.SetRowSelected(*row, true);
}

void DownloadGridView::RemoveSelected()
{
    if (bFillingList())
        return;
    // A row counts as selected when it or any of its cells is; a selected row
    // lists all its cells. The rows are gathered once: asking the grid row by
    // row would pass over the whole selection for every row.
    std::unordered_set<int> rows;
    for (const GridCell& cell : grid_.SelectedCells())
        rows.insert(cell.row.index);
    RemoveRowsWhere([&](GridRow row) { return rows.count(row.index) > 0; });
}

void DownloadGridView::ClearCompleted()
{
    if (bFillingList())
        return;
    RemoveRowsWhere([&](GridRow row) { return grid_.CellText(GridCell{row, colStatus}) == status::kComplete; });
}

void DownloadGridView::RemoveRowsWhere(const std::function<bool(platform::GridRow)>& chosen)
{
    const auto last = grid_.LastRow();
    if (!last)
        return;
    RunningItemAnchor running(scheduler_);
    // From the last row up: a removal renumbers only the items behind it, so
    // the IDs of the rows still to visit stay valid.
    for (auto row = last; row; row = grid_.PreviousRow(*row)) {
        if (!chosen(*row))
            continue;
        const int index = QueueIndexOfRow(grid_, *row);
        if (index >= 0)
            RemoveItem(static_cast<std::int16_t>(index + 1));
    }
    if (IsListEmpty())
        bGridFormatted = false;
    running.Repoint();
    FillDownloadList();
    running.LocateRow();
}

// A rebuild in progress means the grid's IDs are stale: nothing moves then.
void DownloadGridView::MoveFirstSelected(void (*move)(std::int16_t))
{
    if (bFillingList())
        return;
    RunningItemAnchor running(scheduler_);
    const int index = FirstSelectedItem(grid_);
    if (index >= 0)
        move(static_cast<std::int16_t>(index + 1));
    running.Repoint();
    FillDownloadList();
    running.LocateRow();
}

void DownloadGridView::MoveSelectedUp() { MoveFirstSelected(MoveItemUp); }

void DownloadGridView::MoveSelectedDown() { MoveFirstSelected(MoveItemDown); }

} // namespace tollivex
