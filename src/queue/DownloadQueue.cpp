#include "queue/DownloadQueue.h"

#include <utility>

namespace tollivex {

std::vector<DownloadItem> DownloadQueue;

int QueueUpperBound() { return static_cast<int>(DownloadQueue.size()) - 1; }

bool IsListEmpty() { return DownloadQueue.empty(); }

bool AddItem(const std::string& pageAddress, const std::string& fileName, std::string& status, std::string& size)
{
    for (const DownloadItem& item : DownloadQueue) {
        if (item.Video_URL == pageAddress)
            return true;
    }
    // IDs are 16-bit: the 32,768th item would wrap negative, so it is refused.
    if (DownloadQueue.size() >= static_cast<size_t>(kMaxQueueItems))
        return false;

    DownloadItem item;
    item.ID = static_cast<std::int16_t>(DownloadQueue.size() + 1);
    item.Video_URL = pageAddress;
    item.FileName = fileName;
    if (status.empty())
        status = status::kWaiting;
    item.Status = status;
    if (size.empty())
        size = filesize::kUnknown;
    item.FileSize = size;
    DownloadQueue.push_back(std::move(item));
    return true;
}

void RemoveItem(std::int16_t id)
{
    if (DownloadQueue.empty())
        return;
    // The item normally stands at ID - 1; a queue whose IDs went out of step
    // is searched for it.
    int at = IndexOfId(id);
    if (at < 0 || DownloadQueue[static_cast<size_t>(at)].ID != id) {
        at = -1;
        for (size_t i = 0; i < DownloadQueue.size(); ++i) {
            if (DownloadQueue[i].ID == id) {
                at = static_cast<int>(i);
                break;
            }
        }
    }
    if (at >= 0)
        DownloadQueue.erase(DownloadQueue.begin() + at);
    // The survivors come back as if added afresh: numbered from 1, and an
    // empty status or size gets the defaults of AddItem. Erasing in place
    // keeps a removal linear; the addresses are unique, so nothing is merged.
    for (size_t i = 0; i < DownloadQueue.size(); ++i) {
        DownloadItem& item = DownloadQueue[i];
        item.ID = static_cast<std::int16_t>(i + 1);
        if (item.Status.empty())
            item.Status = status::kWaiting;
        if (item.FileSize.empty())
            item.FileSize = filesize::kUnknown;
    }
}

int IndexOfAddress(const std::string& pageAddress)
{
    for (size_t i = 0; i < DownloadQueue.size(); ++i) {
        if (DownloadQueue[i].Video_URL == pageAddress)
            return static_cast<int>(i);
    }
    return -1;
}

int IndexOfId(std::int16_t id)
{
    const int index = static_cast<int>(id) - 1;
    if (index < 0 || index >= static_cast<int>(DownloadQueue.size()))
        return -1;
    return index;
}

void MoveItemUp(std::int16_t id)
{
    if (DownloadQueue.size() == 1)
        return;
    for (size_t i = 1; i < DownloadQueue.size(); ++i) {
        if (DownloadQueue[i].ID != id)
            continue;
        std::swap(DownloadQueue[i - 1], DownloadQueue[i]);
        DownloadQueue[i - 1].ID = static_cast<std::int16_t>(i);
        DownloadQueue[i].ID = static_cast<std::int16_t>(i + 1);
        return;
    }
}

void MoveItemDown(std::int16_t id)
{
    if (DownloadQueue.size() == 1)
        return;
    for (size_t i = 0; i + 1 < DownloadQueue.size(); ++i) {
        if (DownloadQueue[i].ID != id)
            continue;
        std::swap(DownloadQueue[i], DownloadQueue[i + 1]);
        DownloadQueue[i].ID = static_cast<std::int16_t>(i + 1);
        DownloadQueue[i + 1].ID = static_cast<std::int16_t>(i + 2);
        return;
    }
}

void UpdateItem(std::int16_t id, const std::string& pageAddress, const std::string& fileName, const std::string& status,
                const std::string& size)
{
    const int index = IndexOfId(id);
    if (index < 0)
        return;
    DownloadItem& item = DownloadQueue[static_cast<size_t>(index)];
    if (!pageAddress.empty())
        item.Video_URL = pageAddress;
    if (!fileName.empty())
        item.FileName = fileName;
    if (!status.empty())
        item.Status = status;
    if (!size.empty())
        item.FileSize = size;
}

} // namespace tollivex
