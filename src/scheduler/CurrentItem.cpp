#include "scheduler/CurrentItem.h"

#include "queue/DownloadQueue.h"
#include "shell/frmMain.h"

namespace tollivex {

DownloadItem* CurrentItem(frmMain& form)
{
    const int index = form.iCurrentIndex;
    const bool inRange = index >= 0 && static_cast<size_t>(index) < DownloadQueue.size();
    if (form.sCurrentAddress.empty())
        return inRange ? &DownloadQueue[static_cast<size_t>(index)] : nullptr;
    if (inRange && DownloadQueue[static_cast<size_t>(index)].Video_URL == form.sCurrentAddress)
        return &DownloadQueue[static_cast<size_t>(index)];

    // The list was edited under the run: follow the item, never its old place.
    const int found = IndexOfAddress(form.sCurrentAddress);
    if (found < 0)
        return nullptr;
    form.iCurrentIndex = static_cast<std::int16_t>(found);
    form.LocateCurrentRow();
    return &DownloadQueue[static_cast<size_t>(found)];
}

} // namespace tollivex
