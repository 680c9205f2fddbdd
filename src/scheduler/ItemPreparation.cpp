// Preparing one queue item: its page is resolved to the video file's link,
// and the server is asked for the file's name and size.

#include "scheduler/DownloadScheduler.h"

#include "queue/DownloadQueue.h"
#include "resolve/SiteCode.h"
#include "scheduler/FailureReasons.h"
#include "scheduler/FileNames.h"
#include "transfer/Download.h"

namespace tollivex {

namespace {

// Why the page fetch failed, by how the component's transfer ended.
std::string PageFailureReason(TransferResult result, const std::string& address, int status)
{
    switch (result) {
    case TransferResult::CouldNotFindUrl: return PageNotFetched(address, status);
    case TransferResult::CouldNotReadUrl: return PageBrokeOff();
    default:
        // The scratch file could not be made or written.
        return ScratchFileNotWritten();
    }
}

void SetError(int at) { DownloadQueue[static_cast<size_t>(at)].Status = status::kError; }

// Marks the item at `at` for a page that gave no video link, with its reason.
void MarkPageFailure(DownloadScheduler& scheduler, int at, const std::string& address, PageOutcome outcome,
                     bool failedInside)
{
    DownloadItem& item = DownloadQueue[static_cast<size_t>(at)];
    switch (outcome) {
    case PageOutcome::Unsupported:
        NoteFailureReason(address, NotSupported());
        item.Status = status::kError;
        item.FileName = filename::kUnsupportedLink;
        return;
    case PageOutcome::NoVideo:
        NoteFailureReason(address, PageHoldsNoVideo());
        item.FileName = filename::kProcessFailed;
        item.Status = status::kError;
        return;
    default:
        // A stopped run asks the server nothing more; the run marks the item.
        if (!scheduler.State().bStopRequested())
            NoteFailureReason(address, failedInside ? FailedInside()
                                                    : PageFailureReason(scheduler.State().sDownloadResult(), address,
                                                                        scheduler.Component().ResponseStatus()));
        item.Status = status::kError;
    }
}

// Asks the server about the video of the item of `address` and writes its
// name and size into the item, wherever it now stands. False when that failed.
bool TakeFileInfo(DownloadScheduler& scheduler, const std::string& address, const std::string& link)
{
    LocalFileInfo info;
    try {
        info = scheduler.GetLocalFileInfo(link, GetSiteCode(address));
    } catch (...) {
        NoteFailureReason(address, FailedInside());
        const int at = IndexOfAddress(address);
        if (at >= 0)
            SetError(at);
        return false;
    }
    const int at = IndexOfAddress(address);
    if (at < 0 || scheduler.Host().Ended())
        return false;
    DownloadItem& item = DownloadQueue[static_cast<size_t>(at)];
    // A name the user typed is kept.
    if (item.FileName == filename::kAutoDetect)
        item.FileName = info.fileName;
    item.FileSize = info.sizeText;
    return true;
}

} // namespace

std::optional<std::string> DownloadScheduler::PrepareItem(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= DownloadQueue.size())
        return std::nullopt;
    // The page fetch lets window events run: the user may move or remove the
    // item meanwhile, so it is found again by its address afterwards.
    const std::string address = DownloadQueue[static_cast<size_t>(index)].Video_URL;
    ForgetFailureReason(address);
    DownloadQueue[static_cast<size_t>(index)].Status = status::kPreparingStart;
    host_.FillDownloadList();

    PageLink page;
    bool failedInside = false;
    try {
        page = GetDownloadLink(address);
    } catch (...) {
        // Scratch file or component failure: the page did not come.
        page = {PageOutcome::NotFetched, {}};
        failedInside = true;
    }
    if (host_.Ended())
        return std::nullopt;
    const int at = IndexOfAddress(address);
    if (at < 0)
        return std::nullopt;
    if (page.outcome != PageOutcome::Found || state_.bStopRequested()) {
        MarkPageFailure(*this, at, address, page.outcome, failedInside);
        return std::nullopt;
    }
    if (!TakeFileInfo(*this, address, page.link))
        return std::nullopt;
    return page.link;
}

LocalFileInfo DownloadScheduler::GetLocalFileInfo(const std::string& link, int siteCode)
{
    download_.SetUrl(link);
    download_.RequestInformation();
    return {DeriveLocalFileName(link, download_.RemoteFileName(), siteCode),
            SizeTextFor(download_.FileSize(), download_.FileExists())};
}

} // namespace tollivex
