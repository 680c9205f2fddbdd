// EndMe, the deferred exit of the tray menu, and the clean-up after the loop.
#include "shell/Shutdown.h"

#include "platform/FileSystem.h"
#include "platform/gui/MainWindowHost.h"
#include "queue/DownloadItem.h"
#include "queue/DownloadQueue.h"
#include "scheduler/ItemLookup.h"
#include "shell/frmMain.h"

namespace tollivex {

namespace {
// The video file a transfer was writing when the program was told to end,
// and the page address of the item it belongs to (the item may move or go
// while the run unwinds). Program-wide: the run unwinds after EndMe.
std::string sAbandonedFile;
std::string sAbandonedAddress;
} // namespace

void frmMain::EndMe()
{
    if (bEnded_)
        return;
    // After a confirmed stop the captions already say "Start Downloading":
    // running the toggle again would start a second run inside the first.
    if (bDownloading && !bStopRequested)
        cmdStartDownload_Click();

    bEnded_ = true;
    tmrDownload.SetEnabled(false);
    tmrend.SetEnabled(false);

    // Whatever the answer was, the run must not go on: it ends at its next
    // look at bStopRequested, and the transfer stops at its next read.
    if (bDownloading) {
        // Only a file being written now is abandoned; between two transfers
        // LocalFile still names the previous item's finished video.
        if (!bFetchingPage && Download.Transferring() && !Download.LocalFile().empty()) {
            sAbandonedFile = Download.LocalFile();
            sAbandonedAddress = sCurrentAddress;
        }
        bStopRequested = true;
        Download.CancelDownload();
    }

    StopHook();
    Monitor(false);
    tmrMonitor.SetEnabled(false);
    frmMenu.Loaded = false;
    Window().EndProgram();
}

void frmMain::EndOnRequest()
{
    if (bDownloading)
        bStopRequested = true;
    EndMe();
}

void frmMain::tmrend_Timer()
{
    tmrend.SetEnabled(false);
    EndMe();
}

void FinishShutdown(frmMain& form)
{
    (void)form;
    if (sAbandonedFile.empty())
        return;
    // The transfer may still have finished before it saw the stop.
    const int at = FindQueuedAddress(sAbandonedAddress);
    const bool finished = at >= 0 && DownloadQueue[static_cast<size_t>(at)].Status == status::kComplete;
    if (!finished) {
        platform::DeleteRegularFile(sAbandonedFile);
        if (at >= 0)
            DownloadQueue[static_cast<size_t>(at)].Status = status::kCancelled;
    }
    sAbandonedFile.clear();
    sAbandonedAddress.clear();
}

} // namespace tollivex
