// Editing the queue from the grid: select all, remove the selected items,
// clear the finished ones, move one item up or down.
//
// While a rebuild runs (bFillingList) the grid still shows the old table, whose
// IDs may no longer fit the queue; the commands that read IDs from the grid
// are then ignored. Each row is also checked against the queue by its address
// before it is acted on. A running download stays on its item: its address is
// noted before the change and its index and row are found again afterwards.

#include "shell/frmMain.h"

#include "grid/RowItem.h"
#include "grid/RunningItemAnchor.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"

#include <unordered_set>

namespace tollivex {

using platform::GridCell;
using platform::GridRow;

void frmMain::SelectAll()
{
    platform::GridControl& grid = DownloadGrid();
    for (auto row = grid.FirstRow(); row; row = grid.NextRow(*row))
        grid.SetRowSelected(*row, true);
}

void frmMain::RemoveSelected()
{
    if (bFillingList())
        return;
    // A row counts as selected when it or any of its cells is; a selected row
    // lists all its cells. The rows are gathered once: asking the grid row by
    // row would pass over the whole selection for every row.
    std::unordered_set<int> rows;
    for (const GridCell& cell : DownloadGrid().SelectedCells())
        rows.insert(cell.row.index);
    RemoveRowsWhere([&](GridRow row) { return rows.count(row.index) > 0; });
}

void frmMain::ClearCompleted()
{
    if (bFillingList())
        return;
    platform::GridControl& grid = DownloadGrid();
    RemoveRowsWhere([&](GridRow row) { return grid.CellText(GridCell{row, colStatus}) == status::kComplete; });
}

void frmMain::RemoveRowsWhere(const std::function<bool(platform::GridRow)>& chosen)
{
    platform::GridControl& grid = DownloadGrid();
    const auto last = grid.LastRow();
    if (!last)
        return;
    RunningItemAnchor running(*this);
    // From the last row up: a removal renumbers only the items behind it, so
    // the IDs of the rows still to visit stay valid.
    for (auto row = last; row; row = grid.PreviousRow(*row)) {
        if (!chosen(*row))
            continue;
        const int index = QueueIndexOfRow(grid, *row);
        if (index >= 0)
            RemoveItem(static_cast<std::int16_t>(index + 1));
    }
    if (IsListEmpty())
        bGridFormatted = false;
    running.Repoint();
    FillDownloadList();
    running.LocateRow();
}

namespace {

// The item of the first selected cell's row; -1 when none or it no longer fits.
int FirstSelectedItem(const platform::GridControl& grid)
{
    const std::vector<GridCell> cells = grid.SelectedCells();
    if (cells.empty())
        return -1;
    return QueueIndexOfRow(grid, cells.front().row);
}

// Moves the item of the first selected cell with `move`, keeps the run on its
// item and rebuilds; a rebuild in progress means the grid's IDs are stale.
void MoveFirstSelected(frmMain& form, void (*move)(std::int16_t))
{
    if (form.bFillingList())
        return;
    RunningItemAnchor running(form);
    const int index = FirstSelectedItem(form.DownloadGrid());
    if (index >= 0)
        move(static_cast<std::int16_t>(index + 1));
    running.Repoint();
    form.FillDownloadList();
    running.LocateRow();
}

} // namespace

void frmMain::MoveSelectedUp() { MoveFirstSelected(*this, MoveItemUp); }

void frmMain::MoveSelectedDown() { MoveFirstSelected(*this, MoveItemDown); }

} // namespace tollivex
