#pragma once
// The queue entry the run is working on, as the event handlers and the run
// see it after the user may have removed or moved items meanwhile.

namespace tollivex {

class DownloadScheduler;
struct DownloadItem;

/// The item at iCurrentIndex when it still has the run's address
/// (sCurrentAddress); otherwise the item is looked up by that address and
/// iCurrentIndex and oCurrentRow are pointed at it again. None when the item
/// is gone. Without an address (no run) the item at iCurrentIndex, if any.
DownloadItem* CurrentItem(DownloadScheduler& scheduler);

} // namespace tollivex
