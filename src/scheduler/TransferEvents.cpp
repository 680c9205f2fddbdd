// The Download component's events on the main window. One component serves
// the page fetch and the video transfer in turn; bFetchingPage tells the
// handlers which of the two they are reporting.

#include "shell/frmMain.h"

#include "shell/Guarded.h"

#include "queue/DownloadItem.h"
#include "queue/DownloadListTable.h"
#include "queue/TextHelpers.h"
#include "scheduler/CurrentItem.h"

#include <chrono>
#include <string>

namespace tollivex {

namespace {

double SteadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

void frmMain::Download_DownloadComplete()
{
    Guarded([&] {
        // The page is in; the resolver and the video transfer come next.
        if (bFetchingPage) {
            if (DownloadItem* item = CurrentItem(*this))
                item->Status = status::kStartDownloading;
        }
    });
    sDownloadResult = "1";
    bTransferCompleted = true;
}

void frmMain::Download_DownloadError(std::string& sErrorDescription)
{
    // The waiting code decides what the error means; nothing is shown here.
    sDownloadResult = sErrorDescription;
    bTransferCompleted = false;
}

void frmMain::Download_DownloadProgress(std::int32_t& lProgress)
{
    // A stop confirmed in an event nested inside the transfer reaches it here:
    // the component stops right after this handler returns.
    Guarded([&] {
        if (bStopRequested || Ended())
            Download.CancelDownload();
    });
    if (Ended())
        return;

    DownloadItem* item = nullptr;
    Guarded([&] { item = CurrentItem(*this); });
    if (!item)
        return;

    std::string text;
    Guarded([&] {
        if (bFetchingPage) {
            text = lProgress <= 100 ? status::kPreparingPrefix + std::to_string(lProgress) + status::kPreparingSuffix
                                    : std::string(status::kPreparingUnknown);
        } else if (item->FileSize == filesize::kNoSize) {
            // No size was announced: lProgress is the byte count so far.
            text = FormatFileSize(static_cast<float>(lProgress)) + status::kSoFarSuffix;
        } else {
            text = std::to_string(lProgress);
        }
        item->Status = text;
    });
    Guarded([&] {
        if (oCurrentRow)
            DownloadGrid().SetCellValue(platform::GridCell{*oCurrentRow, colStatus}, text);
    });
    // The row's tool tip tells how fast the video comes and how long is left;
    // a page fetch starts the next transfer's measurement afresh.
    Guarded([&] {
        if (bFetchingPage) {
            transferRate.Reset();
        } else if (transferRate.Add(SteadySeconds(), Download.BytesReceived(),
                                    Download.FileSize() > 0 ? Download.AnnouncedSize() : -1) &&
                   oCurrentRow) {
            DownloadGrid().SetRowNote(*oCurrentRow, transferRate.Text());
        }
    });
    // The video transfer writes only the two texts; the page fetch is short.
    if (bFetchingPage)
        Guarded([&] { FillDownloadList(); });
}

} // namespace tollivex
