#include "scheduler/RunningItemAnchor.h"

#include "queue/DownloadQueue.h"
#include "scheduler/DownloadScheduler.h"

namespace tollivex {

RunningItemAnchor::RunningItemAnchor(DownloadScheduler& scheduler) : scheduler_(scheduler)
{
    const RunState& run = scheduler_.State();
    if (!run.bDownloading())
        return;
    // The run names its item by address; without one, the item at its index.
    if (!run.sCurrentAddress().empty()) {
        address_ = run.sCurrentAddress();
        active_ = true;
    } else if (run.iCurrentIndex() >= 0 && static_cast<size_t>(run.iCurrentIndex()) < DownloadQueue.size()) {
        address_ = DownloadQueue[static_cast<size_t>(run.iCurrentIndex())].Video_URL;
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
        scheduler_.State().MoveTo(static_cast<std::int16_t>(at));
    else
        scheduler_.State().ShowIn(std::nullopt);
}

void RunningItemAnchor::LocateRow()
{
    if (!active_)
        return;
    if (found_)
        scheduler_.LocateCurrentRow();
    else
        scheduler_.State().ShowIn(std::nullopt);
}

} // namespace tollivex
