#include "scheduler/CurrentItem.h"

#include "queue/DownloadQueue.h"
#include "scheduler/DownloadScheduler.h"

namespace tollivex {

DownloadItem* CurrentItem(DownloadScheduler& scheduler)
{
    const RunState& run = scheduler.State();
    const int index = run.iCurrentIndex();
    const bool inRange = index >= 0 && static_cast<size_t>(index) < DownloadQueue.size();
    if (run.sCurrentAddress().empty())
        return inRange ? &DownloadQueue[static_cast<size_t>(index)] : nullptr;
    if (inRange && DownloadQueue[static_cast<size_t>(index)].Video_URL == run.sCurrentAddress())
        return &DownloadQueue[static_cast<size_t>(index)];

    // The list was edited under the run: follow the item, never its old place.
    const int found = IndexOfAddress(run.sCurrentAddress());
    if (found < 0)
        return nullptr;
    scheduler.State().MoveTo(static_cast<std::int16_t>(found));
    scheduler.LocateCurrentRow();
    return &DownloadQueue[static_cast<size_t>(found)];
}

} // namespace tollivex
