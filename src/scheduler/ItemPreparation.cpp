// Preparing one queue item: its page is resolved to the video file's link,
// and the server is asked for the file's name and size.

#include "shell/frmMain.h"

#include "queue/DownloadQueue.h"
#include "resolve/SiteCode.h"
#include "scheduler/FailureReasons.h"
#include "scheduler/FileNames.h"
#include "scheduler/LocalFileInfo.h"

namespace tollivex {

namespace {
// Why the page fetch failed, by the component's error text.
std::string PageFailureReason(const std::string& error, const std::string& address, int status)
{
    if (error == kCouldNotFindUrl)
        return PageNotFetched(address, status);
    if (error == kCouldNotReadUrl)
        return PageBrokeOff();
    // The scratch file could not be made or written.
    return ScratchFileNotWritten();
}
} // namespace

std::string frmMain::PrepareItem(int index)
{
    std::string result = "-1";
    if (index < 0 || static_cast<size_t>(index) >= DownloadQueue.size())
        return result;
    // The page fetch lets window events run: the user may move or remove the
    // item meanwhile, so it is found again by its address afterwards.
    const std::string address = DownloadQueue[static_cast<size_t>(index)].Video_URL;
    ForgetFailureReason(address);
    DownloadQueue[static_cast<size_t>(index)].Status = status::kPreparingStart;
    FillDownloadList();

    std::string outcome;
    bool failedInside = false;
    try {
        outcome = GetDownloadLink(address);
    } catch (...) {
        // Scratch file or component failure: the page did not come.
        outcome = "-2";
        failedInside = true;
    }
    if (Ended())
        return result;

    int at = IndexOfAddress(address);
    if (at < 0)
        return result;
    if (outcome == "-1") {
        NoteFailureReason(address, NotSupported());
        DownloadQueue[static_cast<size_t>(at)].Status = status::kError;
        DownloadQueue[static_cast<size_t>(at)].FileName = filename::kUnsupportedLink;
        return result;
    }
    if (outcome == "0") {
        NoteFailureReason(address, PageHoldsNoVideo());
        DownloadQueue[static_cast<size_t>(at)].FileName = filename::kProcessFailed;
        DownloadQueue[static_cast<size_t>(at)].Status = status::kError;
        return result;
    }
    if (outcome == "-2" || bStopRequested) {
        // A stopped run asks the server nothing more; the run marks the item.
        if (!bStopRequested)
            NoteFailureReason(address, failedInside ? FailedInside()
                                                    : PageFailureReason(sDownloadResult, address,
                                                                        Download.ResponseStatus()));
        DownloadQueue[static_cast<size_t>(at)].Status = status::kError;
        return result;
    }

    std::pair<std::string, std::string> info;
    try {
        info = GetLocalFileInfo(outcome, GetSiteCode(address));
    } catch (...) {
        NoteFailureReason(address, FailedInside());
        at = IndexOfAddress(address);
        if (at >= 0)
            DownloadQueue[static_cast<size_t>(at)].Status = status::kError;
        return result;
    }
    at = IndexOfAddress(address);
    if (at < 0 || Ended())
        return result;
    DownloadItem& item = DownloadQueue[static_cast<size_t>(at)];
    // A name the user typed is kept.
    if (item.FileName == filename::kAutoDetect)
        item.FileName = info.first;
    item.FileSize = info.second;
    return outcome;
}

std::pair<std::string, std::string> frmMain::GetLocalFileInfo(const std::string& link, int siteCode)
{
    Download.SetUrl(link);
    Download.RequestInformation();
    return {DeriveLocalFileName(link, Download.RemoteFileName(), siteCode),
            SizeTextFor(Download.FileSize(), Download.FileExists())};
}

} // namespace tollivex
