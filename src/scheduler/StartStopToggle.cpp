// The start/stop toggle of the download run, reached from the movie, the tray
// menu and the clipboard monitor, directly or through the one-shot tmrDownload.

#include "scheduler/DownloadScheduler.h"

#include "platform/FileSystem.h"
#include "queue/DownloadQueue.h"
#include "settings/AppSettings.h"
#include "transfer/Download.h"

namespace tollivex {

namespace {

constexpr const char* kStartCaption = "Start Downloading";
constexpr const char* kStopCaption = "Stop Downloading";

void SetCaptions(DownloadScheduler& scheduler, const char* caption)
{
    scheduler.cmdStartDownload.Caption = caption;
    scheduler.Host().ShowRunCaption(caption);
}

// The movie's three run-state variables, in the order each moment writes them.
void ShowRunStarting(RunHost& host)
{
    host.SetMovieVariable("_root.downloadBtn", "0");
    host.SetMovieVariable("_root.startDownload", "0");
    host.SetMovieVariable("_root.downloadTab", "0");
}

void ShowRunCancelled(RunHost& host)
{
    host.SetMovieVariable("_root.downloadBtn", "1");
    host.SetMovieVariable("_root.startDownload", "1");
    host.SetMovieVariable("_root.downloadTab", "1");
}

void ShowRunEnded(RunHost& host)
{
    host.SetMovieVariable("_root.startDownload", "1");
    host.SetMovieVariable("_root.downloadBtn", "1");
    host.SetMovieVariable("_root.downloadTab", "1");
}

// The run writes every video here; finding out at the first file is too late.
bool DownloadFolderUsable() { return platform::CreateFolder(sDownloadDir) && platform::FolderIsWritable(sDownloadDir); }

// Asks whether to cancel the running download; on Yes the run is told to stop
// and the captions and the movie show it stopped at once.
void AskToStop(DownloadScheduler& scheduler)
{
    if (!scheduler.Host().AskCancelDownloading())
        return;
    // The run sees the flag at its next progress event or step and ends there.
    scheduler.State().RequestStop();
    SetCaptions(scheduler, kStartCaption);
    ShowRunCancelled(scheduler.Host());
}

// Why a run cannot start now, told to the user; true when it can.
bool ReadyToStart(RunHost& host)
{
    if (!IsConnected()) {
        host.TellNotConnected();
        return false;
    }
    if (!DownloadFolderUsable()) {
        host.TellFolderUnusable(sDownloadDir);
        return false;
    }
    return true;
}

} // namespace

void DownloadScheduler::tmrDownload_Timer()
{
    // One-shot: the toggle runs once, outside the event that armed the timer.
    tmrDownload.SetEnabled(false);
    // A tick that lands inside a rebuild would run the whole download nested
    // in it, with the grid frozen and every edit refused: wait for its end.
    if (host_.bFillingList()) {
        if (!host_.Ended())
            tmrDownload.SetEnabled(true);
        return;
    }
    cmdStartDownload_Click();
}

void DownloadScheduler::cmdStartDownload_Click()
{
    try {
        const bool running = cmdStartDownload.Caption == kStopCaption;
        // A running download can always be stopped, even once its item has
        // been removed and the list is empty.
        if (IsListEmpty() && !running) {
            host_.SetMovieVariable("_root.startDownload", "1");
            host_.TellListEmpty();
            return;
        }
        if (running) {
            AskToStop(*this);
            return;
        }
        // A confirmed stop is still unwinding: a run must not start inside it.
        // The start is taken up once the run has ended.
        if (state_.bDownloading()) {
            if (!host_.Ended())
                tmrDownload.SetEnabled(true);
            return;
        }
        if (!ReadyToStart(host_))
            return;

        SetCaptions(*this, kStopCaption);
        ShowRunStarting(host_);
        StartDownloading();
        // A confirmed stop has already restored the captions and the movie.
        if (state_.bStopRequested() || host_.Ended())
            return;
        cmdStartDownload.Caption = kStartCaption;
        ShowRunEnded(host_);
        host_.ShowRunCaption(kStartCaption);
    } catch (...) {
        // Any other failure ends the toggle quietly; the program carries on.
    }
}

} // namespace tollivex
