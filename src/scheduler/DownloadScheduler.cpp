#include "scheduler/DownloadScheduler.h"

#include "scheduler/Guarded.h"
#include "transfer/Download.h"

namespace tollivex {

DownloadScheduler::DownloadScheduler(RunHost& host, Download& component) : host_(host), download_(component)
{
    // The component's events run inside the transfer; their failures stay there.
    download_.DownloadComplete = [this] { Guarded([&] { Download_DownloadComplete(); }); };
    download_.DownloadProgress = [this](std::int32_t& p) { Guarded([&] { Download_DownloadProgress(p); }); };
    download_.DownloadError = [this](std::string& e) { Guarded([&] { Download_DownloadError(e); }); };
    // DownloadCancelled has no handler: a stop is recognised through bStopRequested.
    // A confirmed stop or a close ends every wait of the component at once.
    download_.StopWaiting = [this] { return state_.bStopRequested() || host_.Ended(); };
    tmrDownload.SetOnTick([this] { Guarded([&] { tmrDownload_Timer(); }); });
}

DownloadScheduler::~DownloadScheduler()
{
    // No event may reach a half-destroyed scheduler.
    tmrDownload.SetEnabled(false);
    download_.DownloadComplete = nullptr;
    download_.DownloadProgress = nullptr;
    download_.DownloadError = nullptr;
    download_.StopWaiting = nullptr;
}

void DownloadScheduler::LocateCurrentRow()
{
    state_.ShowIn(std::nullopt);
    state_.ShowIn(host_.RowOfId(static_cast<int>(state_.iCurrentIndex()) + 1));
}

} // namespace tollivex
