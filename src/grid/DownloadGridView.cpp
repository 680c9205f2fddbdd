#include "grid/DownloadGridView.h"

#include "grid/StatusCellDrawFilter.h"
#include "scheduler/Guarded.h"

namespace tollivex {

DownloadGridView::DownloadGridView(platform::GridControl& grid, DownloadScheduler& scheduler, GridHost& host)
    : grid_(grid), scheduler_(scheduler), host_(host)
{
    platform::GridHandlers handlers;
    handlers.InitializeLayout = [this] { Guarded([&] { DownloadGrid_InitializeLayout(); }); };
    handlers.BeforeCellUpdate = [this](const platform::GridCell& cell, const std::string& value, bool& cancel) {
        Guarded([&] { DownloadGrid_BeforeCellUpdate(cell, value, cancel); });
    };
    handlers.AfterCellUpdate = [this](const platform::GridCell& cell) {
        Guarded([&] { DownloadGrid_AfterCellUpdate(cell); });
    };
    // Delete in the list does what the movie's "Remove selected" does.
    handlers.DeletePressed = [this] { Guarded([&] { RemoveSelected(); }); };
    handlers.ContextMenu = [this](int x, int y) { Guarded([&] { DownloadGrid_ContextMenu(x, y); }); };
    grid_.SetHandlers(std::move(handlers));
}

DownloadGridView::~DownloadGridView()
{
    // No notification may reach a half-destroyed view.
    grid_.SetHandlers({});
    grid_.SetDrawFilter(nullptr);
}

} // namespace tollivex
