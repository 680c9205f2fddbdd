#pragma once
// The download scheduler: the start/stop toggle, the run that works through
// the queue one item at a time, the page fetch before each video, and the
// handlers of the Download component's events. It owns the run's state
// (RunState) and reaches the window only through its RunHost. Windowless.

#include "platform/Timer.h"
#include "scheduler/LocalFileInfo.h"
#include "scheduler/RunHost.h"
#include "scheduler/RunState.h"
#include "scheduler/TransferRate.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tollivex {

class Download;

/// The hidden start/stop button: its caption is the run's state as the user sees it.
struct HiddenButton {
    std::string Caption;
};

/// What GetDownloadLink made of a page address.
enum class PageOutcome {
    Unsupported, // no supported site; nothing was fetched
    NotFetched,  // the page fetch did not complete
    NoVideo,     // the page came, but its resolver found no video link
    Found,       // `link` is the video file's address
};
struct PageLink {
    PageOutcome outcome = PageOutcome::Unsupported;
    std::string link;
};

class DownloadScheduler {
public:
    /// Handles the events of `component`, the window's one Download
    /// component, for as long as the scheduler lives.
    DownloadScheduler(RunHost& host, Download& component);
    ~DownloadScheduler();
    DownloadScheduler(const DownloadScheduler&) = delete;
    DownloadScheduler& operator=(const DownloadScheduler&) = delete;

    RunState& State() { return state_; }
    const RunState& State() const { return state_; }
    RunHost& Host() { return host_; }
    Download& Component() { return download_; }

    HiddenButton cmdStartDownload{"Start Downloading"};
    /// One-shot: runs the toggle once, 200 ms after it was armed, outside the
    /// event that armed it.
    platform::Timer tmrDownload{200};
    /// Speed and time left of the video transfer, shown in its row's tool tip.
    TransferRate transferRate;

    // ---- The start/stop toggle (StartStopToggle.cpp) ---------------------------
    void cmdStartDownload_Click();
    void tmrDownload_Timer();

    // ---- The run (DownloadRun.cpp, ItemPreparation.cpp, PageFetch.cpp) --------
    /// Runs the whole queue; returns when it is exhausted or the run was stopped.
    void StartDownloading();
    /// Prepares the queue item at `index`: its video link, or none when the
    /// item cannot be downloaded (its status then says why).
    std::optional<std::string> PrepareItem(int index);
    LocalFileInfo GetLocalFileInfo(const std::string& link, int siteCode);
    /// Fetches the page into the scratch file and has the site's resolver read it.
    PageLink GetDownloadLink(const std::string& pageAddress);

    /// oCurrentRow := the row that shows the item at iCurrentIndex, if any.
    void LocateCurrentRow();

    // ---- The component's events (TransferEvents.cpp) ---------------------------
    void Download_DownloadComplete();
    void Download_DownloadProgress(std::int32_t& lProgress);
    void Download_DownloadError(std::string& sErrorDescription);

private:
    RunHost& host_;
    Download& download_;
    RunState state_;
};

} // namespace tollivex
