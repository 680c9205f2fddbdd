// Adding addresses and rebuilding the grid's table from the queue.

#include "grid/DownloadGridView.h"

#include "platform/EventLoop.h"
#include "platform/window/MessageBox.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "queue/TextHelpers.h"
#include "resolve/SiteCode.h"
#include "scheduler/DownloadScheduler.h"
#include "scheduler/FailureReasons.h"

#include <new>
#include <stdexcept>

namespace tollivex {

namespace {

// Window events run between rows so the window stays alive while a long
// list is rebuilt; a nested rebuild is refused by bFillingList.
constexpr int kYieldsBetweenSteps = 7;

void YieldToWindow()
{
    for (int i = 0; i < kYieldsBetweenSteps; ++i)
        platform::DoEvents();
}

class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
};

// A new table of the queue's items. Both bounds are read once; an item
// removed meanwhile leaves its row empty.
std::shared_ptr<DownloadListTable> TableOfQueue()
{
    auto table = std::make_shared<DownloadListTable>();
    const int last = QueueUpperBound();
    for (int i = 0; i <= last; ++i) {
        YieldToWindow();
        const size_t row = table->RowCount();
        table->AddNew();
        if (static_cast<size_t>(i) < DownloadQueue.size()) {
            const DownloadItem& item = DownloadQueue[static_cast<size_t>(i)];
            table->SetField(row, colID, std::to_string(item.ID));
            table->SetField(row, colVideoURL, FirstCharacters(item.Video_URL, kTableUrlLength));
            table->SetField(row, colFileName, item.FileName);
            table->SetField(row, colStatus, item.Status);
            table->SetField(row, colFileSize, item.FileSize);
            table->RowAt(row).reason = ReasonShownFor(item);
        }
        YieldToWindow();
    }
    return table;
}

void TellFillFailed(const std::string& number, const std::string& description)
{
    platform::ShowMessage(std::string("An error occured while filling the Download list") + "\r" + number + ":" +
                              description,
                          "Tollivex", platform::MessageIcon::Critical, platform::MessageButtons::Ok);
}

} // namespace

bool DownloadGridView::AddVideoUrl(const std::string& pageAddress)
{
    std::string status;
    std::string size = filesize::kUnknown;
    bool added = false;
    if (GetSiteCode(pageAddress) == siteNone) {
        status = status::kNotSupported;
        added = AddItem(pageAddress, filename::kError, status, size);
    } else {
        status = status::kWaiting;
        added = AddItem(pageAddress, filename::kAutoDetect, status, size);
    }
    FillDownloadList();
    // The rebuild made the running item's stored row stale.
    if (scheduler_.State().bDownloading())
        scheduler_.LocateCurrentRow();
    return added;
}

void DownloadGridView::FillDownloadList()
{
    if (bFillingList_)
        return;
    if (IsListEmpty()) {
        grid_.SetDataSource(nullptr);
        return;
    }

    ScopedFlag filling(bFillingList_);
    try {
        ForgetReasonsOfRemovedItems();
        rsDownloadList.reset();
        rsDownloadList = TableOfQueue();
        FormatDownloadGrid(false);
    } catch (const std::bad_alloc&) {
        TellFillFailed("7", "Out of memory");
    } catch (const std::exception& e) {
        TellFillFailed("5", e.what());
    }
}

std::optional<platform::GridRow> DownloadGridView::RowOfId(int id) const
{
    const std::string wanted = std::to_string(id);
    for (auto row = grid_.FirstRow(); row; row = grid_.NextRow(*row)) {
        if (grid_.CellText(platform::GridCell{*row, colID}) == wanted)
            return row;
    }
    return std::nullopt;
}

void DownloadGridView::ShowStatusInRow(const platform::GridRow& row, const std::string& status)
{
    grid_.SetCellValue(platform::GridCell{row, colStatus}, status);
}

void DownloadGridView::ShowNoteInRow(const platform::GridRow& row, const std::string& note)
{
    grid_.SetRowNote(row, note);
}

} // namespace tollivex
