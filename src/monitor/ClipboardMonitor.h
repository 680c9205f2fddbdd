#pragma once
// The clipboard monitor: the watcher program that delivers copied addresses
// into the mailbox txtMonitor, and the polling of the clipboard on tmrMonitor.
// Each caught address is queued and the download run started for it.

#include "platform/Timer.h"

#include <string>

namespace tollivex {

class DownloadScheduler;

namespace platform {
class Mailbox;
}

/// What the monitor needs of the main window above it.
class MonitorHost {
public:
    virtual ~MonitorHost() = default;
    /// Queues a page address as the user's add does.
    virtual bool AddVideoUrl(const std::string& pageAddress) = 0;
    virtual void SetMovieVariable(const std::string& name, const std::string& value) = 0;
    /// True while the list is being rebuilt.
    virtual bool bFillingList() const = 0;
    /// The tray menu's monitor item shows the switch.
    virtual void ShowMonitorChecked(bool checked) = 0;
};

class ClipboardMonitor {
public:
    /// Takes the deliveries of `mailbox` for as long as the monitor lives.
    ClipboardMonitor(platform::Mailbox& mailbox, DownloadScheduler& scheduler, MonitorHost& host);
    ~ClipboardMonitor();
    ClipboardMonitor(const ClipboardMonitor&) = delete;
    ClipboardMonitor& operator=(const ClipboardMonitor&) = delete;

    /// Polls the clipboard while enabled.
    platform::Timer tmrMonitor{2000};
    /// The clipboard text seen by the last polling pass.
    std::string sLastClipboard;
    /// The user has been told that the watcher cannot run here (told once).
    bool bMonitorRefusalShown = false;

    /// Starts (on) or ends (off) the watcher program; bUrlMonitor follows.
    void Monitor(bool bState);
    /// The watcher delivered a text into the mailbox.
    void txtMonitor_Change();
    /// Switches the polling.
    void chkMonitor_Click();
    /// One polling pass.
    void tmrMonitor_Timer();

private:
    platform::Mailbox& mailbox_;
    DownloadScheduler& scheduler_;
    MonitorHost& host_;
};

} // namespace tollivex
