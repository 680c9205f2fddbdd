#pragma once
// The download list on the window: the grid's table rebuilt from the queue,
// its layout, the queue editing the user does in it, and its rows' context
// menu. It keeps a running download on its item through every edit.

#include "platform/gui/GridControl.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tollivex {

class DownloadScheduler;
class StatusCellDrawFilter;

/// What the list needs of the main window above it.
class GridHost {
public:
    virtual ~GridHost() = default;
    /// True once the program is ending.
    virtual bool Ended() const = 0;
};

class DownloadGridView {
public:
    /// Handles the notifications of `grid` for as long as the view lives.
    DownloadGridView(platform::GridControl& grid, DownloadScheduler& scheduler, GridHost& host);
    ~DownloadGridView();
    DownloadGridView(const DownloadGridView&) = delete;
    DownloadGridView& operator=(const DownloadGridView&) = delete;

    /// The grid's full column layout has been applied.
    bool bGridFormatted = false;
    /// A cleaned file name waiting to be written by the after-edit step.
    std::string sPendingFileName;
    /// True while the table is being rebuilt: a nested rebuild does nothing.
    bool bFillingList() const { return bFillingList_; }

    // ---- Queue and grid binding (ListBinding.cpp) --------------------------------
    /// Queues a page address; false when the queue is full and nothing was added.
    bool AddVideoUrl(const std::string& pageAddress);
    void FillDownloadList();
    /// The row whose ID cell shows `id`; none when no row does.
    std::optional<platform::GridRow> RowOfId(int id) const;
    void ShowStatusInRow(const platform::GridRow& row, const std::string& status);
    void ShowNoteInRow(const platform::GridRow& row, const std::string& note);

    // ---- Grid layout (GridLayout.cpp) ----------------------------------------------
    bool FormatDownloadGrid(bool bFirstTime);
    void ShowDownloadGrid();
    void DownloadGrid_InitializeLayout();

    // ---- Queue editing (QueueEditing.cpp, FileNameEditing.cpp) --------------------
    void SelectAll();
    void RemoveSelected();
    void MoveSelectedUp();
    void MoveSelectedDown();
    void ClearCompleted();
    void DownloadGrid_BeforeCellUpdate(const platform::GridCell& cell, const std::string& newValue, bool& cancel);
    void DownloadGrid_AfterCellUpdate(const platform::GridCell& cell);

    // ---- The rows' context menu (RowMenuActions.cpp) --------------------------------
    /// Open a finished video or its folder, copy the page addresses, remove the items.
    void DownloadGrid_ContextMenu(int x, int y);

private:
    /// Removes the items of the rows `chosen` picks, keeping a running download on its item.
    void RemoveRowsWhere(const std::function<bool(platform::GridRow)>& chosen);
    /// Moves the item of the first selected cell with `move` and rebuilds.
    void MoveFirstSelected(void (*move)(std::int16_t));

    platform::GridControl& grid_;
    DownloadScheduler& scheduler_;
    GridHost& host_;
    std::unique_ptr<StatusCellDrawFilter> drawFilter_;
    bool bFillingList_ = false;
};

} // namespace tollivex
