#pragma once
// The main window: owns every control and all run state, and carries the
// routines of every subsystem that act on them. Nothing here sees Qt: the
// controls are platform objects, the hidden classic controls plain state.
// Everything runs on the one window thread; long operations let window events
// run nested inside them, and the flags below are the only coordination.
//
// The routines are defined next to the subsystem they belong to:
//   shell/      start-up and shutdown, the movie's commands, tray, hooks
//   queue/      (windowless list operations; see queue/DownloadQueue.h)
//   scheduler/  the download run, the page fetch and the component's events
//   monitor/    the clipboard monitor
//   grid/       grid layout and the grid-level queue editing

#include "platform/gui/GridControl.h"
#include "platform/window/Timer.h"
#include "scheduler/FinishNotices.h"
#include "scheduler/TransferRate.h"
#include "settings/AppSettings.h"
#include "transfer/Download.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tollivex {

namespace platform {
class MainWindowHost;
class MovieHost;
class TrayIcon;
class Mailbox;
class DesktopNotifier;
} // namespace platform

class StatusCellDrawFilter;

/// The window-system objects a main window is made of.
struct FormControls {
    FormControls();
    FormControls(FormControls&&) noexcept;
    FormControls& operator=(FormControls&&) noexcept;
    ~FormControls();

    std::unique_ptr<platform::MainWindowHost> Window;
    std::unique_ptr<platform::MovieHost> Flash;
    std::unique_ptr<platform::GridControl> DownloadGrid;
    std::unique_ptr<platform::TrayIcon> SysTray;
    std::unique_ptr<platform::Mailbox> txtMonitor;
    std::unique_ptr<platform::DesktopNotifier> Notifier;
};

/// Hidden classic controls: only their captions and texts matter.
struct HiddenButton {
    std::string Caption;
    std::string ToolTipText;
};
struct HiddenTextBox {
    std::string Text;
};
struct HiddenCheckBox {
    std::string Caption;
};
struct HiddenComboBox {
    std::vector<std::string> Items;
    int ListIndex = -1;
};

/// The tray menu form: its items' captions and the monitor check mark.
struct frmMenuForm {
    bool Loaded = false;
    std::string mnuWebVideo = "Tollivex";
    std::string mnuDownload = "Start Downloading";
    std::string mnuMonitor = "Monitor Video URL's in Clipboard";
    bool mnuMonitorChecked = false;
    std::string mnuExit = "Exit  Tollivex";
};

class frmMain : public SettingsHost {
public:
    explicit frmMain(FormControls controls);
    ~frmMain() override;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // ---- Controls -------------------------------------------------------
    platform::MainWindowHost& Window();
    platform::MovieHost& Flash();
    platform::GridControl& DownloadGrid();
    platform::TrayIcon& SysTray();
    platform::Mailbox& txtMonitor();
    platform::DesktopNotifier& Notifier();
    tollivex::Download Download;

    platform::Timer tmrDownload{200};
    platform::Timer tmrend{200};
    platform::Timer tmrMonitor{2000};

    HiddenButton cmdStartDownload{"Start Downloading", ""};
    HiddenButton cmdBrowse{"Browse", ""};
    HiddenTextBox txtURL;
    HiddenButton cmdAdd2List{"Add to download list", ""};
    HiddenCheckBox chkMonitor{"Monitor video URL's in clipboard and automatically add and download"};
    HiddenButton cmdClear{"&X", "Clear Completed items"};
    HiddenButton cmdUp{"/|\\", "Move Item Up"};
    HiddenButton cmdDown{"\\|/", "Move item down"};
    HiddenButton cmdSelectAll{"&A", "Select All"};
    HiddenButton cmdRemoveSelected{"X", "Remove Selected Items"};
    HiddenComboBox cmbSite;
    frmMenuForm frmMenu;

    // ---- Run state --------------------------------------------------------
    bool bDownloading = false;
    bool bStopRequested = false;
    std::int16_t iCurrentIndex = 0;
    std::optional<platform::GridRow> oCurrentRow;
    std::string sDownloadResult;
    bool bFetchingPage = false;
    std::string sCurrentTab;
    /// The last transfer raised DownloadComplete (a "Complete" needs it).
    bool bTransferCompleted = false;
    /// Video_URL of the item the run works on: the run and the event handlers
    /// find the item again by it when the list was edited meanwhile.
    std::string sCurrentAddress;
    /// The name the current item's video is to be saved under (kept for an
    /// item the user removes while its video arrives).
    std::string sCurrentFileName;
    /// Speed and time left of the video transfer, shown in its row's tool tip.
    TransferRate transferRate;

    // ---- Grid state -------------------------------------------------------
    bool bGridFormatted = false;
    std::string sPendingFileName;

    // ---- Clipboard monitor state ------------------------------------------
    std::string sLastClipboard;
    /// The user has been told that the watcher cannot run here (told once).
    bool bMonitorRefusalShown = false;

    // ---- Start-up and shutdown (shell/) -------------------------------------
    void Form_Load();
    void InitMainWindow();
    void EndMe();
    /// EndMe for the desktop ending the session (logout, kill): a running
    /// download is cancelled without the question, as nobody may be there.
    void EndOnRequest();
    /// True once EndMe has run: the program is ending.
    bool Ended() const { return bEnded_; }

    // ---- Movie protocol (shell/) -------------------------------------------
    void Flash_FSCommand(const std::string& command, const std::string& args);
    void SetMovieVariable(const std::string& name, const std::string& value) override;

    // ---- Tray (shell/) -------------------------------------------------------
    void SysTray_MouseDown(int button);
    void SysTray_MouseDblClick(int button);
    void mnuWebVideo_Click();
    void mnuDownload_Click();
    void mnuMonitor_Click();
    void mnuExit_Click();
    void tmrend_Timer();

    // ---- Hooks (shell/) ------------------------------------------------------
    void StartHook();
    void StopHook();
    void ScrollUp();
    void ScrollDown();

    // ---- Queue and grid binding (queue/ logic, shell/QueueBinding.cpp) ------
    /// Queues a page address; false when the queue is full and nothing was added.
    bool AddVideoUrl(const std::string& pageAddress);
    void cmdAdd2List_Click();
    /// Links or text dropped onto the window: each address is added as if it
    /// had been typed into the address box, in order.
    void Form_LinksDropped(const std::vector<std::string>& addresses);
    void FillDownloadList();
    void LocateCurrentRow();
    bool bFillingList() const { return bFillingList_; }

    // ---- Queue editing from the grid (grid/) ---------------------------------
    void SelectAll();
    void RemoveSelected();
    void MoveSelectedUp();
    void MoveSelectedDown();
    void ClearCompleted();
    void DownloadGrid_BeforeCellUpdate(const platform::GridCell& cell, const std::string& newValue, bool& cancel);
    void DownloadGrid_AfterCellUpdate(const platform::GridCell& cell);
    /// The rows' context menu: open a finished video or its folder, copy the
    /// page addresses, remove the items.
    void DownloadGrid_ContextMenu(int x, int y);

    // ---- Grid layout (grid/) ---------------------------------------------------
    bool FormatDownloadGrid(bool bFirstTime);
    void ShowDownloadGrid();
    void DownloadGrid_InitializeLayout();

    // ---- Download run (scheduler/) --------------------------------------------
    void cmdStartDownload_Click();
    void tmrDownload_Timer();
    void StartDownloading();
    std::string PrepareItem(int index);
    std::pair<std::string, std::string> GetLocalFileInfo(const std::string& link, int siteCode);
    std::string GetDownloadLink(const std::string& pageAddress);

    // ---- The component's events (scheduler/) ----------------------------------
    void Download_DownloadComplete();
    void Download_DownloadProgress(std::int32_t& lProgress);
    void Download_DownloadError(std::string& sErrorDescription);

    // ---- Desktop notifications of finished items (shell/) ---------------------
    /// The run has finished with the item of this address: a notification
    /// when it ended "Complete" or "ERROR" out of the user's sight.
    void NoteItemEnded(const std::string& pageAddress);
    /// The run has ended: one summary replaces the notifications of several items.
    void NoteRunEnded();
    /// A notification was clicked: the window comes up with the item's row current.
    void Notifier_Click(std::uint32_t notice);

    // ---- Clipboard monitor (monitor/) -----------------------------------------
    void Monitor(bool bState) override;
    void txtMonitor_Change();
    void chkMonitor_Click();
    void tmrMonitor_Timer();

    // ---- Settings (settings/AppSettings) --------------------------------------
    std::string BrowseForFolder(const std::string& prompt) override;

private:
    /// Removes the items of the rows `chosen` picks, keeping a running download on its item.
    void RemoveRowsWhere(const std::function<bool(platform::GridRow)>& chosen);
    void NotifyItemEnded(const std::string& pageAddress);
    void NotifyRunEnded();

    FormControls controls_;
    /// The items that ended while the window was away in the running run and
    /// their notices, and the page address each notice shown is about.
    AwayTally awayTally_;
    std::vector<std::uint32_t> runNotices_;
    std::map<std::uint32_t, std::string> noticeAddresses_;
    std::unique_ptr<StatusCellDrawFilter> drawFilter_;
    bool bFillingList_ = false;
    bool bEnded_ = false;
};

} // namespace tollivex
