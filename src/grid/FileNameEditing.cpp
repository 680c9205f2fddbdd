// Renaming an item's local file by editing its FileName cell: the check
// before the grid takes the typed value, and the step after it.

#include "grid/DownloadGridView.h"

#include "grid/RowItem.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "scheduler/DownloadScheduler.h"
#include "scheduler/FileNames.h"

namespace tollivex {

namespace {
const char* const kFileNameKey = "FileName";
} // namespace

void DownloadGridView::DownloadGrid_BeforeCellUpdate(const platform::GridCell& cell, const std::string& newValue,
                                                     bool& cancel)
{
    if (grid_.ColumnKey(cell.column) != kFileNameKey)
        return;
    // The row may show an item that has moved since; refuse rather than rename another.
    const int index = bFillingList() ? -1 : QueueIndexOfRow(grid_, cell.row);
    // While the run fetches the item's video, to be published under its name,
    // a new name would show in the list while the video lands under the old one.
    if (index < 0 || scheduler_.State().IsTransferringVideoOf(DownloadQueue[static_cast<size_t>(index)].Video_URL)) {
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

void DownloadGridView::DownloadGrid_AfterCellUpdate(const platform::GridCell& cell)
{
    if (grid_.ColumnKey(cell.column) != kFileNameKey)
        return;
    // Show the cleaned name, not what was typed.
    grid_.SetCellValue(cell, sPendingFileName);
    const int index = bFillingList() ? -1 : QueueIndexOfRow(grid_, cell.row);
    if (index < 0)
        return;
    UpdateItem(static_cast<std::int16_t>(index + 1), "", grid_.CellText(cell), "", "");
}

} // namespace tollivex
