// Placeholder bodies until the grid routines are built; replaced, then removed.
#include "queue/DownloadListTable.h"
#include "shell/frmMain.h"
namespace tollivex {
void frmMain::SelectAll() {}
void frmMain::RemoveSelected() {}
void frmMain::MoveSelectedUp() {}
void frmMain::MoveSelectedDown() {}
void frmMain::ClearCompleted() {}
void frmMain::DownloadGrid_BeforeCellUpdate(const platform::GridCell&, const std::string&, bool&) {}
void frmMain::DownloadGrid_AfterCellUpdate(const platform::GridCell&) {}
bool frmMain::FormatDownloadGrid(bool)
{
    DownloadGrid().SetDataSource(rsDownloadList);
    return true;
}
void frmMain::ShowDownloadGrid() {}
void frmMain::DownloadGrid_InitializeLayout() {}
} // namespace tollivex
