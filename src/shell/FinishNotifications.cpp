// Desktop notifications of finished items: the window lives in the tray for
// hours, so an item that ends out of the user's sight is announced on the
// desktop, and a click on the notice leads back to its row.

#include "shell/frmMain.h"

#include "grid/RowItem.h"
#include "platform/gui/DesktopNotifier.h"
#include "platform/gui/MainWindowHost.h"
#include "queue/DownloadQueue.h"
#include "scheduler/FailureReasons.h"
#include "scheduler/Guarded.h"

namespace tollivex {

namespace {

ItemEnd EndOf(const DownloadItem& item)
{
    if (item.Status == status::kComplete)
        return ItemEnd::Complete;
    return item.Status == status::kError ? ItemEnd::Failed : ItemEnd::Other;
}

} // namespace

void frmMain::NoteItemEnded(const std::string& pageAddress)
{
    // A notice that cannot be given never stands in the run's way.
    Guarded([&] { NotifyItemEnded(pageAddress); });
}

void frmMain::NoteRunEnded()
{
    Guarded([&] { NotifyRunEnded(); });
    awayTally_.Clear();
    runNotices_.clear();
}

void frmMain::NotifyItemEnded(const std::string& pageAddress)
{
    const int at = IndexOfAddress(pageAddress);
    if (at < 0 || Ended())
        return;
    const DownloadItem& item = DownloadQueue[static_cast<size_t>(at)];
    const ItemEnd end = EndOf(item);
    const WindowPresence window{Window().IsVisible(), Window().IsMinimized(), Window().IsActive()};
    if (!NotifyOfEnd(window, end))
        return;
    awayTally_.Count(end);
    // Titled by the file's name; a page that never got as far as a name by its address.
    const std::string title = item.FileName == filename::kAutoDetect ? item.Video_URL : item.FileName;
    std::string body = status::kComplete;
    if (end == ItemEnd::Failed) {
        body = ReasonShownFor(item);
        if (body.empty())
            body = status::kError;
    }
    const std::uint32_t notice = Notifier().Show(
        title, body, end == ItemEnd::Complete ? platform::NoticeKind::Complete : platform::NoticeKind::Failed, 0);
    if (notice != 0) {
        noticeAddresses_[notice] = pageAddress;
        runNotices_.push_back(notice);
    }
}

void frmMain::NotifyRunEnded()
{
    if (awayTally_.NeedsSummary() && !Ended()) {
        // The items' own notices give way to one summary, in the place of the last.
        const std::uint32_t last = runNotices_.empty() ? 0 : runNotices_.back();
        const std::string address = last ? noticeAddresses_[last] : std::string();
        for (const std::uint32_t notice : runNotices_) {
            if (notice != last)
                Notifier().Close(notice);
            noticeAddresses_.erase(notice);
        }
        const std::uint32_t summary = Notifier().Show("Tollivex", awayTally_.Summary(), platform::NoticeKind::Summary,
                                                      last);
        if (summary != 0 && !address.empty())
            noticeAddresses_[summary] = address;
    }
}

void frmMain::Notifier_Click(std::uint32_t notice)
{
    const auto found = noticeAddresses_.find(notice);
    if (found == noticeAddresses_.end() || Ended())
        return;
    const std::string address = found->second;
    Window().Show();
    Window().BringToForeground();
    // The list is on the movie's Download page.
    if (sCurrentTab != "Download") {
        SetMovieVariable("_root.page", "Download");
        Grid.ShowDownloadGrid();
        sCurrentTab = "Download";
    }
    platform::GridControl& grid = DownloadGrid();
    for (auto row = grid.FirstRow(); row; row = grid.NextRow(*row)) {
        const int at = QueueIndexOfRow(grid, *row);
        if (at >= 0 && DownloadQueue[static_cast<size_t>(at)].Video_URL == address) {
            grid.MakeCurrentRow(*row);
            grid.Activate();
            return;
        }
    }
}

} // namespace tollivex
