// Renaming an item's local file by editing its FileName cell: the check
// before the grid takes the typed value, and the step after it.

#include "shell/frmMain.h"

#include "grid/RowItem.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "scheduler/FileNames.h"

namespace tollivex {

namespace {
const char* const kFileNameKey = "FileName";

// The run is fetching the item's video, to be published under its name: a
// new name would show in the list while the video lands under the old one.
bool IsBeingTransferred(const frmMain& form, int index)
{
    if (!form.bDownloading || form.bFetchingPage)
        return false;
    return DownloadQueue[static_cast<size_t>(index)].Video_URL == form.sCurrentAddress;
}
} // namespace

void frmMain::DownloadGrid_BeforeCellUpdate(const platform::GridCell& cell, const std::string& newValue,
                                            bool& cancel)
{
    platform::GridControl& grid = DownloadGrid();
    if (grid.ColumnKey(cell.column) != kFileNameKey)
        return;
    // The row may show an item that has moved since; refuse rather than rename another.
    const int index = bFillingList() ? -1 : QueueIndexOfRow(grid, cell.row);
    if (index < 0 || IsBeingTransferred(*this, index)) {
        cancel = true;
        return;
    }
    // Cleaned again after the cut: a cut can leave only blanks and dots.
    const std::string cleaned = CleanFileName(FitFileNameColumn(CleanFileName(newValue)));
    if (cleaned.empty() || cleaned == filename::kEnterFileName || FileNameTakenInQueue(cleaned, index)) {
        cancel = true;
        return;
    }
    sPendingFileName = cleaned;
}

void frmMain::DownloadGrid_AfterCellUpdate(const platform::GridCell& cell)
{
    platform::GridControl& grid = DownloadGrid();
    if (grid.ColumnKey(cell.column) != kFileNameKey)
        return;
    // Show the cleaned name, not what was typed.
    grid.SetCellValue(cell, sPendingFileName);
    const int index = bFillingList() ? -1 : QueueIndexOfRow(grid, cell.row);
    if (index < 0)
        return;
    UpdateItem(static_cast<std::int16_t>(index + 1), "", grid.CellText(cell), "", "");
}

} // namespace tollivex
