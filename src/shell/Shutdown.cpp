// EndMe, the deferred exit of the tray menu, and the clean-up after the loop.
#include "shell/Shutdown.h"

#include "platform/FileSystem.h"
#include "platform/gui/MainWindowHost.h"
#include "queue/DownloadItem.h"
#include "queue/DownloadQueue.h"
#include "shell/frmMain.h"

namespace tollivex {

namespace {
// The video file a transfer was writing when the program was told to end,
// and the item it belongs to. Program-wide: the run unwinds after EndMe.
std::string sAbandonedFile;
int iAbandonedIndex = -1;
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
        if (!bFetchingPage && !Download.LocalFile().empty()) {
            sAbandonedFile = Download.LocalFile();
            iAbandonedIndex = iCurrentIndex;
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

void frmMain::tmrend_Timer()
{
    tmrend.SetEnabled(false);
    EndMe();
}

void FinishShutdown(frmMain& form)
{
    if (sAbandonedFile.empty())
        return;
    const bool finished = iAbandonedIndex >= 0 && iAbandonedIndex < static_cast<int>(DownloadQueue.size()) &&
                          DownloadQueue[iAbandonedIndex].Status == status::kComplete;
    if (!finished) {
        platform::DeleteRegularFile(sAbandonedFile);
        if (iAbandonedIndex >= 0 && iAbandonedIndex < static_cast<int>(DownloadQueue.size()))
            DownloadQueue[iAbandonedIndex].Status = status::kCancelled;
    }
    (void)form;
    sAbandonedFile.clear();
    iAbandonedIndex = -1;
}

} // namespace tollivex
