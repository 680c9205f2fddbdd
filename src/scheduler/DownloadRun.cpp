// The download run: works through the queue one item at a time, resolving
// each page to its video file and fetching that file into the download folder.

#include "shell/frmMain.h"

#include "platform/FileSystem.h"
#include "queue/DownloadQueue.h"
#include "queue/TextHelpers.h"
#include "scheduler/FailureReasons.h"
#include "scheduler/ItemLookup.h"
#include "scheduler/LocalFileInfo.h"
#include "scheduler/VideoFile.h"

namespace tollivex {

namespace {

// Where the walk goes after an item; a stop ends it.
constexpr int kStopRun = -1;

// Clears the run's state on every way out of the run.
class RunScope {
public:
    explicit RunScope(frmMain& form) : form_(form) { form_.bDownloading = true; }
    ~RunScope()
    {
        form_.bDownloading = false;
        form_.sCurrentAddress.clear();
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    frmMain& form_;
};

// The video is written beside its final name: an unfinished file of an
// earlier attempt goes (a link there is removed, never written through), the
// older file of the final name stays until the new one replaces it whole. A
// folder of either name is never touched, and then the item cannot be
// downloaded.
bool MakeRoomFor(const std::string& path, const std::string& partPath)
{
    if (platform::FolderExists(path) || platform::FolderExists(partPath))
        return false;
    if (platform::FileExists(partPath) && !platform::DeleteRegularFile(partPath))
        return false;
    return !platform::FileExists(partPath);
}

void SetStatus(int index, const char* text) { DownloadQueue[static_cast<size_t>(index)].Status = text; }

// After a stop or a transfer the item is written only where it now is: the
// user may have moved or removed it while window events ran.
int EndStopped(frmMain& form, const std::string& address, const std::string& reason)
{
    if (form.Ended())
        return kStopRun;
    NoteFailureReason(address, reason);
    const int at = FindQueuedAddress(address);
    if (at >= 0) {
        SetStatus(at, status::kCancelled);
        form.FillDownloadList();
    }
    return kStopRun;
}

// Where the walk goes on after the item that stood at `index` and now stands
// at `at`. Moved down by the user: from its old place, so the items that
// moved up past it are still taken; moved up: after its new place.
int NextIndex(int index, int at)
{
    if (at == index)
        return at + 1;
    return at + 1 < index ? at + 1 : index;
}

// Why a finished transfer is not the whole video, "" when it is: the answer
// was the file and every announced byte arrived.
std::string TransferFailure(frmMain& form, bool arrived, const std::string& sizeText, double announced)
{
    const std::int64_t received = form.Download.BytesReceived();
    if (form.sDownloadResult == kCouldNotFindUrl)
        return VideoNotAnswered(form.Download.Url(), form.Download.ResponseStatus());
    if (form.sDownloadResult == kCouldNotReadUrl)
        return VideoEndedEarly(received, announced);
    if (form.sDownloadResult == kCouldNotWriteFile)
        return FolderNotWritten();
    if (!arrived || !form.bTransferCompleted || form.sDownloadResult != "1")
        return FailedInside();
    if (SizeTextMarksFailure(sizeText))
        return VideoDenied();
    if (!ReceivedWhatWasAnnounced(received, announced))
        return VideoEndedEarly(received, announced);
    return {};
}

// Prepares and downloads the item at `index`; returns the next index to look at.
int RunItem(frmMain& form, int index)
{
    const std::string address = DownloadQueue[static_cast<size_t>(index)].Video_URL;
    form.sCurrentAddress = address;
    form.iCurrentIndex = static_cast<std::int16_t>(DownloadQueue[static_cast<size_t>(index)].ID - 1);
    form.LocateCurrentRow();

    const std::string link = form.PrepareItem(form.iCurrentIndex);
    form.FillDownloadList();
    if (form.bStopRequested || form.Ended())
        return EndStopped(form, address, StoppedByUser(0, -1));

    int at = FindQueuedAddress(address);
    if (at < 0)
        return index;  // the user removed it; what followed it now stands here
    form.iCurrentIndex = static_cast<std::int16_t>(at);
    DownloadItem& item = DownloadQueue[static_cast<size_t>(at)];
    if (item.Status == status::kError || link == "-1")
        return NextIndex(index, at);

    // A name from the grid was cleaned there; cleaning again keeps any name
    // that reached the item some other way inside the download folder. The
    // video another item published under that name is kept: this one moves aside.
    item.FileName = NameBesidePublished(sDownloadDir, CleanFileName(item.FileName), address, at);
    const std::string path = platform::JoinPath(sDownloadDir, item.FileName);
    const std::string partPath = PartPathFor(path);
    form.Download.SetUrl(link);
    form.Download.SetLocalFile(partPath);
    if (!MakeRoomFor(path, partPath)) {
        NoteFailureReason(address, FolderNotWritten());
        item.Status = status::kError;
        form.FillDownloadList();
        return NextIndex(index, at);
    }

    form.LocateCurrentRow();
    // Each transfer is judged on its own events, never on the page fetch's.
    form.sDownloadResult.clear();
    form.bTransferCompleted = false;
    const double announced = form.Download.FileSize() > 0 ? form.Download.AnnouncedSize() : -1;
    const std::string sizeText = item.FileSize;
    bool arrived = false;
    try {
        arrived = form.Download.StartDownload();
    } catch (...) {
        arrived = false;  // the local file could not be opened or written
    }
    if (form.bStopRequested || form.Ended())
        return EndStopped(form, address, StoppedByUser(form.Download.BytesReceived(), announced));

    // "Complete" is the whole video under its name: the answer was the file,
    // every announced byte arrived, and the rename published it. Otherwise
    // what arrived stays under ".part" only. A video whose item the user
    // removed meanwhile is still published when it is whole.
    const std::string failure = TransferFailure(form, arrived, sizeText, announced);
    const bool complete = failure.empty() && platform::ReplaceFile(partPath, path);
    if (complete) {
        NotePublished(path, address);
    } else {
        NoteFailureReason(address, failure.empty() ? FolderNotWritten() : failure);
        // A body of the wrong length or a failed rename reads as a broken transfer.
        if (form.sDownloadResult == "1")
            form.sDownloadResult = kCouldNotReadUrl;
    }

    at = FindQueuedAddress(address);
    if (at < 0)
        return index;
    form.iCurrentIndex = static_cast<std::int16_t>(at);
    DownloadItem& done = DownloadQueue[static_cast<size_t>(at)];
    done.Status = complete ? status::kComplete : status::kError;
    form.FillDownloadList();
    return NextIndex(index, at);
}

} // namespace

void frmMain::StartDownloading()
{
    // One run at a time: a start that reaches here inside a run is refused.
    if (bDownloading)
        return;
    if (sCurrentTab == "About")
        SetMovieVariable("_root.downloadBtnTab", "1");
    if (!platform::FolderExists(sDownloadDir))
        platform::CreateFolder(sDownloadDir);

    bStopRequested = false;
    RunScope running(*this);
    // The upper bound is read again before every step, so items added while
    // the run was busy are taken in the same run.
    int index = 0;
    while (index >= 0 && index <= QueueUpperBound() && !Ended()) {
        const std::string& itemStatus = DownloadQueue[static_cast<size_t>(index)].Status;
        if (itemStatus == status::kComplete || itemStatus == status::kError) {
            ++index;
            continue;
        }
        try {
            index = RunItem(*this, index);
        } catch (...) {
            // Whatever failed, this item did not arrive.
            const int at = FindQueuedAddress(sCurrentAddress);
            if (at >= 0 && !Ended()) {
                SetStatus(at, status::kError);
                NoteFailureReason(sCurrentAddress, FailedInside());
            }
            ++index;
        }
        NoteItemEnded(sCurrentAddress);
    }
    NoteRunEnded();
}

} // namespace tollivex
