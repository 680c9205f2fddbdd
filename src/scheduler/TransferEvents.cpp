// The Download component's events. One component serves the page fetch and
// the video transfer in turn; bFetchingPage tells the handlers which of the
// two they are reporting.

#include "scheduler/DownloadScheduler.h"

#include "queue/DownloadItem.h"
#include "queue/TextHelpers.h"
#include "scheduler/CurrentItem.h"
#include "scheduler/Guarded.h"
#include "transfer/Download.h"

#include <chrono>
#include <string>

namespace tollivex {

namespace {

double SteadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The item's status for a progress event: the page phase's "Preperaing"
// texts, else the percentage, or the bytes so far when no size was announced.
std::string ProgressStatus(bool fetchingPage, const DownloadItem& item, std::int32_t lProgress)
{
    if (fetchingPage) {
        return lProgress <= 100 ? status::kPreparingPrefix + std::to_string(lProgress) + status::kPreparingSuffix
                                : std::string(status::kPreparingUnknown);
    }
    // No size was announced: lProgress is the byte count so far.
    if (item.FileSize == filesize::kNoSize)
        return FormatFileSize(static_cast<float>(lProgress)) + status::kSoFarSuffix;
    return std::to_string(lProgress);
}

} // namespace

void DownloadScheduler::Download_DownloadComplete()
{
    Guarded([&] {
        // The page is in; the resolver and the video transfer come next.
        if (state_.bFetchingPage()) {
            if (DownloadItem* item = CurrentItem(*this))
                item->Status = status::kStartDownloading;
        }
    });
    state_.TransferEnded(TransferResult::Complete);
}

void DownloadScheduler::Download_DownloadError(std::string& sErrorDescription)
{
    // The waiting code decides what the error means; nothing is shown here.
    state_.TransferEnded(TransferResultOf(sErrorDescription));
}

void DownloadScheduler::Download_DownloadProgress(std::int32_t& lProgress)
{
    // A stop confirmed in an event nested inside the transfer reaches it here:
    // the component stops right after this handler returns.
    Guarded([&] {
        if (state_.bStopRequested() || host_.Ended())
            download_.CancelDownload();
    });
    if (host_.Ended())
        return;

    DownloadItem* item = nullptr;
    Guarded([&] { item = CurrentItem(*this); });
    if (!item)
        return;

    const bool page = state_.bFetchingPage();
    std::string text;
    Guarded([&] {
        text = ProgressStatus(page, *item, lProgress);
        item->Status = text;
    });
    Guarded([&] {
        if (state_.oCurrentRow())
            host_.ShowStatusInRow(*state_.oCurrentRow(), text);
    });
    // The row's tool tip tells how fast the video comes and how long is left;
    // a page fetch starts the next transfer's measurement afresh.
    Guarded([&] {
        if (page) {
            transferRate.Reset();
        } else if (transferRate.Add(SteadySeconds(), download_.BytesReceived(),
                                    download_.FileSize() > 0 ? download_.AnnouncedSize() : -1) &&
                   state_.oCurrentRow()) {
            host_.ShowNoteInRow(*state_.oCurrentRow(), transferRate.Text());
        }
    });
    // The video transfer writes only the two texts; the page fetch is short.
    if (page)
        Guarded([&] { host_.FillDownloadList(); });
}

} // namespace tollivex
