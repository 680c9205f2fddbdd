// The rows' context menu on the main window: what each entry does to the
// items of the rows it was opened for.

#include "shell/frmMain.h"

#include "grid/RowItem.h"
#include "grid/RowMenuWindow.h"
#include "platform/FileSystem.h"
#include "platform/gui/FileManager.h"
#include "platform/window/Desktop.h"
#include "platform/window/MessageBox.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "scheduler/VideoFile.h"

#include <map>
#include <set>

namespace tollivex {

namespace {

// The video a "Complete" item finished as: where the run published it (a
// rename in the list never renames the file), else its name in the download
// folder. "" when there is no such file.
std::string FinishedFile(const DownloadItem& item)
{
    if (item.Status != status::kComplete)
        return {};
    std::string path = PublishedFor(item.Video_URL);
    if (path.empty())
        path = platform::JoinPath(sDownloadDir, item.FileName);
    return platform::FileExists(path) ? path : std::string();
}

} // namespace

void frmMain::DownloadGrid_ContextMenu(int x, int y)
{
    if (bFillingList())
        return;
    platform::GridControl& grid = DownloadGrid();
    std::map<int, platform::GridRow> rows;  // in list order
    for (const platform::GridCell& cell : grid.SelectedCells())
        rows.emplace(cell.row.index, cell.row);

    // Gathered before the menu opens: the list may be rebuilt while it is open.
    std::vector<RowFacts> facts;
    std::vector<std::string> files;
    std::set<std::string> addresses;
    std::string copied;
    for (const auto& [index, row] : rows) {
        const int at = QueueIndexOfRow(grid, row);
        if (at < 0)
            continue;
        const DownloadItem& item = DownloadQueue[static_cast<size_t>(at)];
        const std::string file = FinishedFile(item);
        facts.push_back({item.Status, !file.empty()});
        if (!file.empty())
            files.push_back(file);
        addresses.insert(item.Video_URL);
        copied += (copied.empty() ? "" : "\n") + item.Video_URL;
    }
    if (facts.empty())
        return;

    const RowMenuChoice choice = PopupRowMenu(RowMenuFor(facts), x, y);
    // The program may have been ended from the tray while the menu was open.
    if (Ended())
        return;
    switch (choice) {
    case RowMenuChoice::Open:
        for (const std::string& file : files) {
            if (!platform::ShellOpen(file))
                platform::ShowMessage("Tollivex could not open " + file +
                                          "\n\nNo program to play it was found on this computer.",
                                      "Tollivex", platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        }
        break;
    case RowMenuChoice::OpenContainingFolder:
        platform::ShowInFileManager(files);
        break;
    case RowMenuChoice::CopyPageAddress:
        platform::SetClipboardText(copied);
        break;
    case RowMenuChoice::Remove:
        // As Delete does, for the items the menu was opened for, wherever they are now.
        if (!bFillingList()) {
            RemoveRowsWhere([&](platform::GridRow row) {
                const int at = QueueIndexOfRow(DownloadGrid(), row);
                return at >= 0 && addresses.count(DownloadQueue[static_cast<size_t>(at)].Video_URL) > 0;
            });
        }
        break;
    case RowMenuChoice::None:
        break;
    }
}

} // namespace tollivex
