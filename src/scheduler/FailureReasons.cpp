#include "scheduler/FailureReasons.h"

#include "queue/DownloadItem.h"
#include "queue/DownloadQueue.h"
#include "queue/TextHelpers.h"

#include <map>
#include <set>

namespace tollivex {

namespace {

std::map<std::string, std::string>& Reasons()
{
    static std::map<std::string, std::string> reasons;
    return reasons;
}

std::string Size(double bytes) { return FormatFileSize(static_cast<float>(bytes)); }

} // namespace

void NoteFailureReason(const std::string& pageAddress, const std::string& sentence)
{
    Reasons()[pageAddress] = sentence;
}

void ForgetFailureReason(const std::string& pageAddress) { Reasons().erase(pageAddress); }

void ForgetReasonsOfRemovedItems()
{
    if (Reasons().empty())
        return;
    std::set<std::string> queued;
    for (const DownloadItem& item : DownloadQueue)
        queued.insert(item.Video_URL);
    for (auto it = Reasons().begin(); it != Reasons().end();)
        it = queued.count(it->first) ? std::next(it) : Reasons().erase(it);
}

std::string ReasonShownFor(const DownloadItem& item)
{
    if (item.Status != status::kError && item.Status != status::kCancelled)
        return {};
    const auto found = Reasons().find(item.Video_URL);
    return found == Reasons().end() ? std::string() : found->second;
}

std::string HostOfAddress(const std::string& address)
{
    std::string host = address;
    const auto scheme = host.find("://");
    if (scheme != std::string::npos)
        host.erase(0, scheme + 3);
    host = host.substr(0, host.find_first_of("/?#"));
    const auto at = host.rfind('@');
    if (at != std::string::npos)
        host.erase(0, at + 1);
    return host.substr(0, host.find(':'));
}

std::string PageNotFetched(const std::string& pageAddress, int status)
{
    if (status > 0)
        return "The page could not be fetched (the server answered " + std::to_string(status) +
               "). Check the address, or try again later.";
    return "The page could not be fetched (no answer from " + HostOfAddress(pageAddress) +
           "). Check your connection and try again.";
}

std::string PageBrokeOff() { return "The page broke off while it was fetched. Try again later."; }

std::string ScratchFileNotWritten()
{
    return "The page could not be saved to read it (Parse.wvi could not be written). Check the program's folder.";
}

std::string PageHoldsNoVideo()
{
    return "The page holds no video address. The video may have been removed, or the site has changed.";
}

std::string NotSupported() { return "The address is not of a supported site."; }

std::string VideoNotAnswered(const std::string& link, int status)
{
    if (status > 0)
        return "The server answered " + std::to_string(status) + ", not the video. Try again later.";
    return "The video could not be fetched (no answer from " + HostOfAddress(link) + "). Try again later.";
}

std::string VideoEndedEarly(std::int64_t received, double announced)
{
    const double got = static_cast<double>(received);
    if (announced > 0 && got > announced)
        return "The server sent " + Size(got) + ", more than the " + Size(announced) +
               " it announced, so it is not the video. Try again later.";
    if (announced > 0)
        return "The download ended early at " + Size(got) + " of " + Size(announced) + ". Try again.";
    return "The download ended early at " + Size(got) + ". Try again.";
}

std::string VideoDenied() { return "The server does not have the video (it gave no size). Try again later."; }

std::string FolderNotWritten()
{
    return "The folder could not be written. Check that the download folder exists and has room.";
}

std::string StoppedByUser(std::int64_t received, double announced)
{
    if (received <= 0)
        return "Stopped before the video arrived. Start the downloads again to fetch it.";
    const std::string at = announced > 0 ? Size(static_cast<double>(received)) + " of " + Size(announced)
                                         : Size(static_cast<double>(received));
    return "Stopped at " + at + ". Start the downloads again to fetch it from the beginning.";
}

std::string FailedInside() { return "Something failed while this item was processed. Try again."; }

} // namespace tollivex
