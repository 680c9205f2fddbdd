#pragma once
// The download run's state, in one place. The run writes it as it works
// through the queue; the list, the clipboard monitor and the shell read it and
// change it only through the few operations below. Everything runs on the
// window thread, but window events run nested inside the run's long steps:
// this state is what they coordinate on.

#include "platform/gui/GridControl.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tollivex {

/// How the component's last transfer ended, as its events reported it.
enum class TransferResult {
    None,              // no event yet: cleared before each transfer
    Complete,          // DownloadComplete
    CouldNotFindUrl,   // DownloadError: no answer, or an error status
    CouldNotReadUrl,   // DownloadError: the data broke off
    CouldNotWriteFile, // DownloadError: the local file could not be written
    OtherError,        // DownloadError with any other text
};

/// The result a DownloadError event's text stands for.
TransferResult TransferResultOf(const std::string& sErrorDescription);

class RunState {
public:
    /// True from the start to the end of a run: a second run is refused, and
    /// additions find the running item's row again.
    bool bDownloading() const { return bDownloading_; }
    /// The user confirmed stopping the run (or the program is ending); the
    /// next progress event cancels the transfer. Cleared when a run starts.
    bool bStopRequested() const { return bStopRequested_; }
    /// Queue index of the item the run works on.
    std::int16_t iCurrentIndex() const { return iCurrentIndex_; }
    /// The grid row of that item, found again after every rebuild; none when no row shows it.
    const std::optional<platform::GridRow>& oCurrentRow() const { return oCurrentRow_; }
    /// Video_URL of the item the run works on, "" outside a run: the run and
    /// the event handlers find the item again by it when the list was edited.
    const std::string& sCurrentAddress() const { return sCurrentAddress_; }
    /// The name the current item's video is to be saved under (kept for an
    /// item the user removes while its video arrives).
    const std::string& sCurrentFileName() const { return sCurrentFileName_; }
    /// How the component's last transfer ended.
    TransferResult sDownloadResult() const { return sDownloadResult_; }
    /// True while the component fetches a page for resolution rather than a video.
    bool bFetchingPage() const { return bFetchingPage_; }

    /// True while a run works on the item of `pageAddress`.
    bool IsWorkingOn(const std::string& pageAddress) const;
    /// True while a run fetches the video of the item of `pageAddress` (not its page).
    bool IsTransferringVideoOf(const std::string& pageAddress) const;

    // ---- Operations --------------------------------------------------------
    /// The user confirmed the stop, or the program is ending.
    void RequestStop() { bStopRequested_ = true; }
    /// A run starts: no stop is requested yet.
    void BeginRun();
    /// The run has ended: it works on no item any more.
    void EndRun();
    /// The run takes up the item at `index` whose page address is `pageAddress`.
    void WorkOn(std::int16_t index, const std::string& pageAddress);
    /// The run's item now stands at `index` (the user moved items).
    void MoveTo(std::int16_t index) { iCurrentIndex_ = index; }
    /// The row that now shows the run's item; none when no row does.
    void ShowIn(std::optional<platform::GridRow> row) { oCurrentRow_ = row; }
    void SaveAs(const std::string& fileName) { sCurrentFileName_ = fileName; }
    void SetFetchingPage(bool fetching) { bFetchingPage_ = fetching; }
    /// A transfer starts: its end is judged on its own events only.
    void BeginTransfer() { sDownloadResult_ = TransferResult::None; }
    void TransferEnded(TransferResult result) { sDownloadResult_ = result; }

private:
    bool bDownloading_ = false;
    bool bStopRequested_ = false;
    std::int16_t iCurrentIndex_ = 0;
    std::optional<platform::GridRow> oCurrentRow_;
    std::string sCurrentAddress_;
    std::string sCurrentFileName_;
    TransferResult sDownloadResult_ = TransferResult::None;
    bool bFetchingPage_ = false;
};

} // namespace tollivex
