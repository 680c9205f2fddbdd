#include "grid/RunningItemAnchor.h"

#include "queue/DownloadQueue.h"
#include "shell/frmMain.h"

namespace tollivex {

RunningItemAnchor::RunningItemAnchor(frmMain& form) : form_(form)
{
    if (!form_.bDownloading)
        return;
    // The run names its item by address; without one, the item at its index.
    if (!form_.sCurrentAddress.empty()) {
        address_ = form_.sCurrentAddress;
        active_ = true;
    } else if (form_.iCurrentIndex >= 0 && static_cast<size_t>(form_.iCurrentIndex) < DownloadQueue.size()) {
        address_ = DownloadQueue[static_cast<size_t>(form_.iCurrentIndex)].Video_URL;
        active_ = true;
    }
}

void RunningItemAnchor::Repoint()
{
    if (!active_)
        return;
    const int at = IndexOfAddress(address_);
    found_ = at >= 0;
    if (found_)
        form_.iCurrentIndex = static_cast<std::int16_t>(at);
    else
        form_.oCurrentRow.reset();
}

void RunningItemAnchor::LocateRow()
{
    if (!active_)
        return;
    if (found_)
        form_.LocateCurrentRow();
    else
        form_.oCurrentRow.reset();
}

} // namespace tollivex
