// The download run: works through the queue one item at a time, resolving
// each page to its video file and fetching that file into the download folder.

#include "scheduler/DownloadScheduler.h"

#include "platform/DiskFile.h"
#include "platform/FileSystem.h"
#include "platform/WorkAside.h"
#include "queue/DownloadQueue.h"
#include "queue/TextHelpers.h"
#include "scheduler/FailureReasons.h"
#include "scheduler/FileNames.h"
#include "scheduler/VideoFile.h"
#include "settings/AppSettings.h"
#include "transfer/Download.h"

namespace tollivex {

namespace {

// Where the walk goes after an item; a stop ends it.
constexpr int kStopRun = -1;

// Clears the run's state on every way out of the run.
class RunScope {
public:
    explicit RunScope(RunState& state) : state_(state) { state_.BeginRun(); }
    ~RunScope() { state_.EndRun(); }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    RunState& state_;
};

void SetStatus(int index, const char* text) { DownloadQueue[static_cast<size_t>(index)].Status = text; }

bool Halted(DownloadScheduler& scheduler) { return scheduler.State().bStopRequested() || scheduler.Host().Ended(); }

// After a stop or a transfer the item is written only where it now is: the
// user may have moved or removed it while window events ran.
int EndStopped(DownloadScheduler& scheduler, const std::string& address, const std::string& reason)
{
    if (scheduler.Host().Ended())
        return kStopRun;
    NoteFailureReason(address, reason);
    const int at = IndexOfAddress(address);
    if (at >= 0) {
        SetStatus(at, status::kCancelled);
        scheduler.Host().FillDownloadList();
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

// Marks the item of `address`, wherever it now stands, and says where the walk goes on.
int EndItem(DownloadScheduler& scheduler, int index, const std::string& address, const char* itemStatus)
{
    const int at = IndexOfAddress(address);
    if (at < 0)
        return index; // the user removed it; what followed it now stands here
    scheduler.State().MoveTo(static_cast<std::int16_t>(at));
    SetStatus(at, itemStatus);
    scheduler.Host().FillDownloadList();
    return NextIndex(index, at);
}

// What the video transfer of one item needs beside the item itself.
struct VideoTransfer {
    std::string address;   // the item's page address
    std::string sizeText;  // its FileSize text when the transfer started
    double announced = -1; // the size the information request announced, -1 for none
    bool arrived = false;  // StartDownload reported the whole file
};

// Why a finished transfer is not the whole video, "" when it is: the answer
// was the file and every announced byte arrived.
std::string TransferFailure(DownloadScheduler& scheduler, const VideoTransfer& transfer)
{
    const std::int64_t received = scheduler.Component().BytesReceived();
    switch (scheduler.State().sDownloadResult()) {
    case TransferResult::CouldNotFindUrl:
        return VideoNotAnswered(scheduler.Component().Url(), scheduler.Component().ResponseStatus());
    case TransferResult::CouldNotReadUrl: return VideoEndedEarly(received, transfer.announced);
    case TransferResult::CouldNotWriteFile: return FolderNotWritten();
    case TransferResult::Complete: break;
    default: return FailedInside();
    }
    if (!transfer.arrived)
        return FailedInside();
    if (SizeTextMarksFailure(transfer.sizeText))
        return VideoDenied();
    if (!ReceivedWhatWasAnnounced(received, transfer.announced))
        return VideoEndedEarly(received, transfer.announced);
    return {};
}

// Puts the finished video's data on the disk, away from the window's thread:
// on a slow disk that takes long. A stop or close leaves it unfinished, and
// the video stays under its temporary name. False when the data cannot be written.
std::optional<bool> FlushAside(DownloadScheduler& scheduler, const std::shared_ptr<platform::DiskFile>& file)
{
    return platform::RunAside([file] { return file->Sync(); }, [&scheduler] { return Halted(scheduler); });
}

// The list shows the name the video was saved under, and the size of what
// arrived when no size was announced.
void ShowPublished(DownloadScheduler& scheduler, const std::string& address, const std::string& published)
{
    const int now = IndexOfAddress(address);
    if (now < 0)
        return;
    DownloadItem& item = DownloadQueue[static_cast<size_t>(now)];
    item.FileName = published;
    if (item.FileSize == filesize::kNoSize)
        item.FileSize = FormatFileSize(static_cast<float>(scheduler.Component().BytesReceived()));
}

// Judges, flushes and publishes the transferred video; "" when it is
// "Complete" under its name, else why not.
std::string Publish(DownloadScheduler& scheduler, const PartFile& part, const VideoTransfer& transfer)
{
    std::string failure = TransferFailure(scheduler, transfer);
    if (!failure.empty())
        return failure;
    const std::optional<bool> flushed = FlushAside(scheduler, part.file);
    if (!flushed)
        return StoppedByUser(scheduler.Component().BytesReceived(), transfer.announced);
    if (!*flushed)
        return FolderNotWritten();
    const int at = IndexOfAddress(transfer.address);
    const std::string name = at >= 0 ? DownloadQueue[static_cast<size_t>(at)].FileName
                                     : scheduler.State().sCurrentFileName();
    const auto published = PublishVideo(*part.file, sDownloadDir, name, transfer.address, at);
    if (!published)
        return FolderNotWritten();
    NotePublished(platform::JoinPath(sDownloadDir, *published), transfer.address);
    platform::RunAside([folder = sDownloadDir] {
        platform::SyncFolder(folder);
        return true;
    });
    ShowPublished(scheduler, transfer.address, *published);
    return {};
}

// Hands the item's temporary file to the component and transfers the video
// into it; true when the whole file arrived.
bool TransferVideo(DownloadScheduler& scheduler, const PartFile& part, const std::string& link)
{
    Download& component = scheduler.Component();
    component.SetUrl(link);
    component.SetLocalFile(part.file->Path());
    scheduler.LocateCurrentRow();
    // Each transfer is judged on its own events, never on the page fetch's.
    scheduler.State().BeginTransfer();
    // Handed over last, so no other transfer can ever write into it. An
    // earlier attempt's bytes are continued where the server still has their
    // version; otherwise the file starts over.
    component.SetTargetFile(part.file, part.earlier);
    try {
        return component.StartDownload();
    } catch (...) {
        return false; // the local file could not be written
    }
}

// "Complete" is the whole video under its name. Otherwise what arrived stays
// under the temporary name only; a temporary file this attempt made and never
// wrote goes again. A video whose item the user removed meanwhile is still
// published when it is whole. Returns the next index to look at.
int FinishVideo(DownloadScheduler& scheduler, int index, const PartFile& part, const VideoTransfer& transfer)
{
    const std::string failure = Publish(scheduler, part, transfer);
    if (Halted(scheduler))
        return EndStopped(scheduler, transfer.address, failure);
    if (!failure.empty()) {
        NoteFailureReason(transfer.address, failure);
        if (!part.earlier && part.file->Size() == 0)
            part.file->RemoveIfStillAtPath();
        // A body of the wrong length or a failed publication reads as a broken transfer.
        if (scheduler.State().sDownloadResult() == TransferResult::Complete)
            scheduler.State().TransferEnded(TransferResult::CouldNotReadUrl);
    }
    return EndItem(scheduler, index, transfer.address, failure.empty() ? status::kComplete : status::kError);
}

// Transfers the video of the prepared item at `at` into its temporary file
// and publishes it; returns the next index to look at.
int DownloadVideo(DownloadScheduler& scheduler, int index, int at, const std::string& link)
{
    DownloadItem& item = DownloadQueue[static_cast<size_t>(at)];
    VideoTransfer transfer{item.Video_URL, item.FileSize, -1, false};
    // A name from the grid was cleaned there; cleaning again keeps any name
    // that reached the item some other way inside the download folder. What
    // the disk holds under that name and is not this item's moves the video aside.
    item.FileName = ChooseFinalName(sDownloadDir, FitNameBytes(CleanFileName(item.FileName)), transfer.address, at);
    scheduler.State().SaveAs(item.FileName);
    const std::optional<PartFile> part = OpenPartFile(sDownloadDir, item.FileName, transfer.address, link);
    if (!part) {
        NoteFailureReason(transfer.address, FolderNotWritten());
        return EndItem(scheduler, index, transfer.address, status::kError);
    }
    const Download& component = scheduler.Component();
    transfer.announced = component.FileSize() > 0 ? component.AnnouncedSize() : -1;
    transfer.arrived = TransferVideo(scheduler, *part, link);
    if (Halted(scheduler))
        return EndStopped(scheduler, transfer.address, StoppedByUser(component.BytesReceived(), transfer.announced));
    return FinishVideo(scheduler, index, *part, transfer);
}

// Prepares and downloads the item at `index`; returns the next index to look at.
int RunItem(DownloadScheduler& scheduler, int index)
{
    const DownloadItem& item = DownloadQueue[static_cast<size_t>(index)];
    const std::string address = item.Video_URL;
    scheduler.State().WorkOn(static_cast<std::int16_t>(item.ID - 1), address);
    scheduler.LocateCurrentRow();

    const std::optional<std::string> link = scheduler.PrepareItem(scheduler.State().iCurrentIndex());
    scheduler.Host().FillDownloadList();
    if (Halted(scheduler))
        return EndStopped(scheduler, address, StoppedByUser(0, -1));

    const int at = IndexOfAddress(address);
    if (at < 0)
        return index; // the user removed it; what followed it now stands here
    scheduler.State().MoveTo(static_cast<std::int16_t>(at));
    if (DownloadQueue[static_cast<size_t>(at)].Status == status::kError || !link)
        return NextIndex(index, at);
    return DownloadVideo(scheduler, index, at, *link);
}

// Whatever failed outside the item's own steps, the item did not arrive: it
// shows its end in the list.
void EndFailedItem(DownloadScheduler& scheduler)
{
    const std::string address = scheduler.State().sCurrentAddress();
    const int at = IndexOfAddress(address);
    if (at < 0 || scheduler.Host().Ended())
        return;
    SetStatus(at, status::kError);
    NoteFailureReason(address, FailedInside());
    scheduler.Host().FillDownloadList();
}

} // namespace

void DownloadScheduler::StartDownloading()
{
    // One run at a time: a start that reaches here inside a run is refused.
    if (state_.bDownloading())
        return;
    if (host_.CurrentTab() == "About")
        host_.SetMovieVariable("_root.downloadBtnTab", "1");
    if (!platform::FolderExists(sDownloadDir))
        platform::CreateFolder(sDownloadDir);

    RunScope running(state_);
    // The upper bound is read again before every step, so items added while
    // the run was busy are taken in the same run.
    int index = 0;
    while (index >= 0 && index <= QueueUpperBound() && !host_.Ended()) {
        const std::string& itemStatus = DownloadQueue[static_cast<size_t>(index)].Status;
        if (itemStatus == status::kComplete || itemStatus == status::kError) {
            ++index;
            continue;
        }
        try {
            index = RunItem(*this, index);
        } catch (...) {
            EndFailedItem(*this);
            ++index;
        }
        host_.NoteItemEnded(state_.sCurrentAddress());
    }
    host_.NoteRunEnded();
}

} // namespace tollivex
