#pragma once
// Keeps a download run on its item while the user moves or removes items.

#include <string>

namespace tollivex {

class DownloadScheduler;

/// Notes the running item's address before a change of the list; Repoint()
/// afterwards sets iCurrentIndex to where that item now stands. When the item
/// was removed, oCurrentRow is dropped so no other item's row is written; the
/// run sees by the address that its item is gone.
class RunningItemAnchor {
public:
    explicit RunningItemAnchor(DownloadScheduler& scheduler);
    /// Call after the queue changed, before the rebuild.
    void Repoint();
    /// Call after the rebuild: finds the running item's row again.
    void LocateRow();

private:
    DownloadScheduler& scheduler_;
    bool active_ = false;
    bool found_ = false;
    std::string address_;
};

} // namespace tollivex
