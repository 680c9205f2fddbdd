#pragma once
// The main window: owns every control and puts the subsystems together. The
// download scheduler (with the run's state), the download list and the
// clipboard monitor are its parts; the window serves each of them as their
// host. Nothing here sees Qt: the controls are platform objects, the hidden
// classic controls plain state. Everything runs on the one window thread;
// long operations let window events run nested inside them.
//
// The window's own routines:
//   shell/      start-up and shutdown, the movie's commands, tray, hooks,
//               desktop notifications, and the hosts of the parts below
//   scheduler/  DownloadScheduler: the toggle, the run, the page fetch, the component's events
//   grid/       DownloadGridView: the list, its layout, its editing and menu
//   monitor/    ClipboardMonitor: the watcher and the clipboard polling

#include "grid/DownloadGridView.h"
#include "monitor/ClipboardMonitor.h"
#include "platform/Timer.h"
#include "platform/gui/GridControl.h"
#include "scheduler/DownloadScheduler.h"
#include "scheduler/FinishNotices.h"
#include "settings/AppSettings.h"
#include "transfer/Download.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tollivex {

namespace platform {
class MainWindowHost;
class MovieHost;
class TrayIcon;
class Mailbox;
class DesktopNotifier;
} // namespace platform

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

/// Hidden classic controls: only their texts matter.
struct HiddenTextBox {
    std::string Text;
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

class frmMain : public SettingsHost, public RunHost, public GridHost, public MonitorHost {
private:
    // First: the parts below are built on the controls.
    FormControls controls_;

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

    platform::Timer tmrend{200};

    HiddenTextBox txtURL;
    HiddenComboBox cmbSite;
    frmMenuForm frmMenu;

    /// The movie page last announced by the movie: "", "Download" or "About".
    std::string sCurrentTab;

    // ---- The parts ----------------------------------------------------------
    DownloadScheduler Scheduler;
    DownloadGridView Grid;
    ClipboardMonitor Clipboard;

    // ---- Start-up and shutdown (shell/) -------------------------------------
    void Form_Load();
    void InitMainWindow();
    void EndMe();
    /// EndMe for the desktop ending the session (logout, kill): a running
    /// download is cancelled without the question, as nobody may be there.
    void EndOnRequest();
    /// True once EndMe has run: the program is ending.
    bool Ended() const override { return bEnded_; }

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

    // ---- Adding addresses (shell/AddingAddresses.cpp) --------------------------
    void cmdAdd2List_Click();
    /// Links or text dropped onto the window: each address is added as if it
    /// had been typed into the address box, in order.
    void Form_LinksDropped(const std::vector<std::string>& addresses);

    // ---- Desktop notifications of finished items (shell/) ---------------------
    /// The run has finished with the item of this address: a notification
    /// when it ended "Complete" or "ERROR" out of the user's sight.
    void NoteItemEnded(const std::string& pageAddress) override;
    /// The run has ended: one summary replaces the notifications of several items.
    void NoteRunEnded() override;
    /// A notification was clicked: the window comes up with the item's row current.
    void Notifier_Click(std::uint32_t notice);

    // ---- Settings (settings/AppSettings) --------------------------------------
    void Monitor(bool bState) override;
    std::string BrowseForFolder(const std::string& prompt) override;

    // ---- What the parts ask of the window (shell/PartsHost.cpp) ---------------
    void FillDownloadList() override;
    bool bFillingList() const override;
    std::optional<platform::GridRow> RowOfId(int id) const override;
    void ShowStatusInRow(const platform::GridRow& row, const std::string& status) override;
    void ShowNoteInRow(const platform::GridRow& row, const std::string& note) override;
    const std::string& CurrentTab() const override;
    void ShowRunCaption(const std::string& caption) override;
    void TellListEmpty() override;
    bool AskCancelDownloading() override;
    void TellNotConnected() override;
    void TellFolderUnusable(const std::string& folder) override;
    bool AddVideoUrl(const std::string& pageAddress) override;
    void ShowMonitorChecked(bool checked) override;

private:
    void NotifyItemEnded(const std::string& pageAddress);
    void NotifyRunEnded();

    /// The items that ended while the window was away in the running run and
    /// their notices, and the page address each notice shown is about.
    AwayTally awayTally_;
    std::vector<std::uint32_t> runNotices_;
    std::map<std::uint32_t, std::string> noticeAddresses_;
    bool bEnded_ = false;
};

} // namespace tollivex
