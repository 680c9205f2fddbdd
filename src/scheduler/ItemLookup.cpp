#include "scheduler/ItemLookup.h"

#include "queue/DownloadQueue.h"

namespace tollivex {

int FindQueuedAddress(const std::string& pageAddress)
{
    for (size_t i = 0; i < DownloadQueue.size(); ++i) {
        if (DownloadQueue[i].Video_URL == pageAddress)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace tollivex
