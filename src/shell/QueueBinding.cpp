// Adding addresses and rebuilding the grid's table from the queue.

#include "shell/frmMain.h"

#include "platform/EventLoop.h"
#include "platform/window/MessageBox.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "queue/TextHelpers.h"
#include "resolve/SiteCode.h"
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

} // namespace

bool frmMain::AddVideoUrl(const std::string& pageAddress)
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
    if (bDownloading)
        LocateCurrentRow();
    return added;
}

void frmMain::cmdAdd2List_Click() { AddVideoUrl(txtURL.Text); }

void frmMain::Form_LinksDropped(const std::vector<std::string>& addresses)
{
    // As the movie's add command takes a typed address: as it stands, once
    // it holds more than blanks.
    for (const std::string& address : addresses) {
        if (bEnded_)
            return;
        if (address.find_first_not_of(' ') != std::string::npos)
            AddVideoUrl(address);
    }
}

void frmMain::FillDownloadList()
{
    if (bFillingList_)
        return;
    if (IsListEmpty()) {
        DownloadGrid().SetDataSource(nullptr);
        return;
    }

    ScopedFlag filling(bFillingList_);
    try {
        ForgetReasonsOfRemovedItems();
        rsDownloadList.reset();
        auto table = std::make_shared<DownloadListTable>();
        // Both bounds are read once; an item removed meanwhile leaves its row empty.
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
        rsDownloadList = std::move(table);
        FormatDownloadGrid(false);
    } catch (const std::bad_alloc&) {
        platform::ShowMessage(std::string("An error occured while filling the Download list") + "\r" + "7:" +
                                  "Out of memory",
                              "Tollivex", platform::MessageIcon::Critical, platform::MessageButtons::Ok);
    } catch (const std::exception& e) {
        platform::ShowMessage(std::string("An error occured while filling the Download list") + "\r" + "5:" +
                                  e.what(),
                              "Tollivex", platform::MessageIcon::Critical, platform::MessageButtons::Ok);
    }
}

void frmMain::LocateCurrentRow()
{
    oCurrentRow.reset();
    const std::string wanted = std::to_string(static_cast<int>(iCurrentIndex) + 1);
    for (auto row = DownloadGrid().FirstRow(); row; row = DownloadGrid().NextRow(*row)) {
        if (DownloadGrid().CellText(platform::GridCell{*row, colID}) == wanted) {
            oCurrentRow = *row;
            return;
        }
    }
}

} // namespace tollivex
