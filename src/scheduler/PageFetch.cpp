// The page fetch before each video: the page is fetched into the scratch file
// through the window's one Download component, then the site's resolver reads
// it and names the video file.

#include "scheduler/DownloadScheduler.h"

#include "platform/FileSystem.h"
#include "resolve/PageFile.h"
#include "resolve/SiteCode.h"
#include "scheduler/PageResolution.h"
#include "transfer/Download.h"

namespace tollivex {

namespace {

// bFetchingPage tells the event handlers which phase they report; it must be
// lowered on every way out of the fetch, a failing transfer included. A page
// is taken as the server answers it (an empty one resolves to no video), so
// the component's whole-file rule, which guards the video, is off meanwhile.
class FetchingPage {
public:
    FetchingPage(RunState& state, Download& component) : state_(state), component_(component)
    {
        state_.SetFetchingPage(true);
        component_.SetWholeFileRequired(false);
    }
    ~FetchingPage()
    {
        state_.SetFetchingPage(false);
        component_.SetWholeFileRequired(true);
    }
    FetchingPage(const FetchingPage&) = delete;
    FetchingPage& operator=(const FetchingPage&) = delete;

private:
    RunState& state_;
    Download& component_;
};

// The old page goes first; only a file or a link is ever removed. A folder
// standing where the page belongs means the page cannot be fetched.
bool ClearScratchFile(const std::string& pageFile)
{
    if (platform::FolderExists(pageFile))
        return false;
    return !platform::FileExists(pageFile) || platform::DeleteRegularFile(pageFile);
}

} // namespace

PageLink DownloadScheduler::GetDownloadLink(const std::string& pageAddress)
{
    const int siteCode = GetSiteCode(pageAddress);
    if (siteCode == siteNone)
        return {PageOutcome::Unsupported, {}};

    state_.BeginTransfer();
    download_.SetUrl(pageAddress);
    const std::string pageFile = PageFilePath();
    if (!ClearScratchFile(pageFile))
        return {PageOutcome::NotFetched, {}};
    download_.SetLocalFile(pageFile);
    // The page is written by name into the scratch file, never into a video's file.
    download_.SetTargetFile(nullptr, false);
    {
        FetchingPage fetching(state_, download_);
        download_.StartDownload();
    }
    if (state_.sDownloadResult() != TransferResult::Complete)
        return {PageOutcome::NotFetched, {}};

    std::string link = ResolvePage(siteCode, pageAddress);
    if (link.empty())
        return {PageOutcome::NoVideo, {}};
    return {PageOutcome::Found, std::move(link)};
}

} // namespace tollivex
