// The page fetch before each video: the page is fetched into the scratch file
// through the window's one Download component, then the site's resolver reads
// it and names the video file.

#include "shell/frmMain.h"

#include "platform/FileSystem.h"
#include "resolve/PageFile.h"
#include "resolve/SiteCode.h"
#include "scheduler/PageResolution.h"

namespace tollivex {

namespace {

// bFetchingPage tells the event handlers which phase they report; it must be
// lowered on every way out of the fetch, a failing transfer included. A page
// is taken as the server answers it (an empty one resolves to no video), so
// the component's whole-file rule, which guards the video, is off meanwhile.
class FetchingPage {
public:
    FetchingPage(bool& flag, Download& component) : flag_(flag), component_(component)
    {
        flag_ = true;
        component_.SetWholeFileRequired(false);
    }
    ~FetchingPage()
    {
        flag_ = false;
        component_.SetWholeFileRequired(true);
    }
    FetchingPage(const FetchingPage&) = delete;
    FetchingPage& operator=(const FetchingPage&) = delete;

private:
    bool& flag_;
    Download& component_;
};

} // namespace

std::string frmMain::GetDownloadLink(const std::string& pageAddress)
{
    const int siteCode = GetSiteCode(pageAddress);
    if (siteCode == siteNone)
        return "-1";

    sDownloadResult.clear();
    bTransferCompleted = false;
    Download.SetUrl(pageAddress);
    // The old page goes first; only a file or a link is ever removed. A folder
    // standing where the page belongs means the page cannot be fetched.
    const std::string pageFile = PageFilePath();
    if (platform::FolderExists(pageFile))
        return "-2";
    if (platform::FileExists(pageFile) && !platform::DeleteRegularFile(pageFile))
        return "-2";
    Download.SetLocalFile(pageFile);
    // The page is written by name into the scratch file, never into a video's file.
    Download.SetTargetFile(nullptr, false);
    {
        FetchingPage fetching(bFetchingPage, Download);
        Download.StartDownload();
    }
    if (sDownloadResult != "1")
        return "-2";

    const std::string link = ResolvePage(siteCode, pageAddress);
    return link.empty() ? "0" : link;
}

} // namespace tollivex
