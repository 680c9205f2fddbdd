// The download run: works through the queue one item at a time, resolving
// each page to its video file and fetching that file into the download folder.

#include "shell/frmMain.h"

#include "platform/DiskFile.h"
#include "platform/FileSystem.h"
#include "platform/WorkAside.h"
#include "queue/DownloadQueue.h"
#include "queue/TextHelpers.h"
#include "scheduler/FailureReasons.h"
#include "scheduler/FileNames.h"
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

void SetStatus(int index, const char* text) { DownloadQueue[static_cast<size_t>(index)].Status = text; }

// After a stop or a transfer the item is written only where it now is: the
// user may have moved or removed it while window events ran.
int EndStopped(frmMain& form, const std::string& address, const std::string& reason)
{
    if (form.Ended())
        return kStopRun;
    NoteFailureReason(address, reason);
    const int at = IndexOfAddress(address);
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

// Marks the item of `address`, wherever it now stands, and says where the walk goes on.
int EndItem(frmMain& form, int index, const std::string& address, const char* itemStatus)
{
    const int at = IndexOfAddress(address);
    if (at < 0)
        return index; // the user removed it; what followed it now stands here
    form.iCurrentIndex = static_cast<std::int16_t>(at);
    SetStatus(at, itemStatus);
    form.FillDownloadList();
    return NextIndex(index, at);
}

// Puts the finished video's data on the disk, away from the window's thread:
// on a slow disk that takes long. A stop or close leaves it unfinished, and
// the video stays under its temporary name. False when the data cannot be written.
std::optional<bool> FlushAside(frmMain& form, const std::shared_ptr<platform::DiskFile>& file)
{
    return platform::RunAside([file] { return file->Sync(); },
                              [&form] { return form.bStopRequested || form.Ended(); });
}

// Judges, flushes and publishes the transferred video of the item of
// `address`; "" when it is "Complete" under its name, else why not.
std::string Publish(frmMain& form, const PartFile& part, const std::string& address, const std::string& sizeText,
                    double announced, bool arrived)
{
    std::string failure = TransferFailure(form, arrived, sizeText, announced);
    if (!failure.empty())
        return failure;
    const std::optional<bool> flushed = FlushAside(form, part.file);
    if (!flushed)
        return StoppedByUser(form.Download.BytesReceived(), announced);
    if (!*flushed)
        return FolderNotWritten();
    const int at = IndexOfAddress(address);
    const std::string name = at >= 0 ? DownloadQueue[static_cast<size_t>(at)].FileName : form.sCurrentFileName;
    const auto published = PublishVideo(*part.file, sDownloadDir, name, address, at);
    if (!published)
        return FolderNotWritten();
    NotePublished(platform::JoinPath(sDownloadDir, *published), address);
    platform::RunAside([folder = sDownloadDir] {
        platform::SyncFolder(folder);
        return true;
    });
    const int now = IndexOfAddress(address);
    if (now >= 0) {
        DownloadItem& item = DownloadQueue[static_cast<size_t>(now)];
        // The list shows the name the video was saved under, and the size of
        // what arrived when no size was announced.
        item.FileName = *published;
        if (item.FileSize == filesize::kNoSize)
            item.FileSize = FormatFileSize(static_cast<float>(form.Download.BytesReceived()));
    }
    return {};
}

// Transfers the video of the prepared item at `at` into its temporary file
// and publishes it; returns the next index to look at.
int DownloadVideo(frmMain& form, int index, int at, const std::string& link)
{
    const std::string address = DownloadQueue[static_cast<size_t>(at)].Video_URL;
    DownloadItem& item = DownloadQueue[static_cast<size_t>(at)];
    // A name from the grid was cleaned there; cleaning again keeps any name
    // that reached the item some other way inside the download folder. What
    // the disk holds under that name and is not this item's moves the video aside.
    item.FileName = ChooseFinalName(sDownloadDir, FitNameBytes(CleanFileName(item.FileName)), address, at);
    form.sCurrentFileName = item.FileName;
    const std::optional<PartFile> part = OpenPartFile(sDownloadDir, item.FileName, address, link);
    if (!part) {
        NoteFailureReason(address, FolderNotWritten());
        return EndItem(form, index, address, status::kError);
    }
    form.Download.SetUrl(link);
    form.Download.SetLocalFile(part->file->Path());

    form.LocateCurrentRow();
    // Each transfer is judged on its own events, never on the page fetch's.
    form.sDownloadResult.clear();
    form.bTransferCompleted = false;
    const double announced = form.Download.FileSize() > 0 ? form.Download.AnnouncedSize() : -1;
    const std::string sizeText = item.FileSize;
    bool arrived = false;
    // Handed over last, so no other transfer can ever write into it. An
    // earlier attempt's bytes are continued where the server still has their
    // version; otherwise the file starts over.
    form.Download.SetTargetFile(part->file, part->earlier);
    try {
        arrived = form.Download.StartDownload();
    } catch (...) {
        arrived = false; // the local file could not be written
    }
    if (form.bStopRequested || form.Ended())
        return EndStopped(form, address, StoppedByUser(form.Download.BytesReceived(), announced));

    // "Complete" is the whole video under its name. Otherwise what arrived
    // stays under the temporary name only; a temporary file this attempt made
    // and never wrote goes again. A video whose item the user removed
    // meanwhile is still published when it is whole.
    const std::string failure = Publish(form, *part, address, sizeText, announced, arrived);
    if (form.bStopRequested || form.Ended())
        return EndStopped(form, address, failure);
    if (!failure.empty()) {
        NoteFailureReason(address, failure);
        if (!part->earlier && part->file->Size() == 0)
            part->file->RemoveIfStillAtPath();
        // A body of the wrong length or a failed publication reads as a broken transfer.
        if (form.sDownloadResult == "1")
            form.sDownloadResult = kCouldNotReadUrl;
    }
    return EndItem(form, index, address, failure.empty() ? status::kComplete : status::kError);
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

    const int at = IndexOfAddress(address);
    if (at < 0)
        return index; // the user removed it; what followed it now stands here
    form.iCurrentIndex = static_cast<std::int16_t>(at);
    if (DownloadQueue[static_cast<size_t>(at)].Status == status::kError || link == "-1")
        return NextIndex(index, at);
    return DownloadVideo(form, index, at, link);
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
            const int at = IndexOfAddress(sCurrentAddress);
            if (at >= 0 && !Ended()) {
                SetStatus(at, status::kError);
                NoteFailureReason(sCurrentAddress, FailedInside());
                FillDownloadList();
            }
            ++index;
        }
        NoteItemEnded(sCurrentAddress);
    }
    NoteRunEnded();
}

} // namespace tollivex
