// The transfer: fetches Url into LocalFile in 2048-byte reads, one progress
// event per read, and reports how it ended through the component's events.

#include "platform/EventLoop.h"
#include "platform/internet/Internet.h"
#include "transfer/Download.h"
#include "transfer/DownloadState.h"
#include "transfer/TransferProgress.h"

#include <filesystem>
#include <fstream>

namespace tollivex {

namespace {

// One progress event per chunk: the host's handler runs once per 2 KiB.
constexpr std::size_t kChunkSize = 2048;

void RaiseError(Download& owner, const char* text)
{
    std::string description = text;
    if (owner.DownloadError)
        owner.DownloadError(description);
}

} // namespace

bool Download::Impl::TransferFile(Download& owner)
{
    bCancel = false;
    platform::DoEvents();
    if (!hSession)
        OpenSession();
    std::shared_ptr<platform::InternetSession> session = hSession;
    platform::DoEvents();

    bCloseSessionAfterInfo = false;
    if (!bInfoRequested)
        owner.RequestInformation();
    bCloseSessionAfterInfo = true;
    platform::DoEvents();

    std::unique_ptr<platform::UrlReader> url = session ? session->OpenUrl(Url) : nullptr;
    platform::DoEvents();
    // An error page is not the file: the local file stays untouched.
    if (!url || url->StatusCode() >= 400) {
        url.reset();
        RaiseError(owner, kCouldNotFindUrl);
        return false;
    }

    // A new download replaces whatever the file held.
    std::ofstream file(std::filesystem::u8path(LocalFile), std::ios::binary | std::ios::trunc);
    if (!file) {
        url.reset();
        RaiseError(owner, kCouldNotWriteFile);
        return false;
    }

    auto endTransfer = [&] {
        url.reset();
        hSession.reset();
        file.close();
    };

    char chunk[kChunkSize];
    std::int64_t byteCount = 0; // 64 bits: files past 2 GiB
    bool moreData = true;
    while (moreData) {
        platform::DoEvents();
        std::size_t got = 0;
        const bool readOk = url->Read(chunk, kChunkSize, got);
        platform::DoEvents();
        if (!readOk) {
            endTransfer();
            RaiseError(owner, kCouldNotReadUrl);
            return false;
        }
        byteCount += static_cast<std::int64_t>(got);
        if (got > 0) {
            if (!file.write(chunk, static_cast<std::streamsize>(got))) {
                endTransfer();
                RaiseError(owner, kCouldNotWriteFile);
                return false;
            }
        } else {
            moreData = false;
        }
        platform::DoEvents();

        std::int32_t lProgress = ProgressValue(byteCount, FileSize);
        if (owner.DownloadProgress)
            owner.DownloadProgress(lProgress);
        platform::DoEvents();

        if (bCancel) {
            std::int32_t lPosition = ClampToInt32(static_cast<double>(byteCount));
            if (owner.DownloadCancelled)
                owner.DownloadCancelled(lPosition);
            endTransfer();
            return false;
        }
    }

    endTransfer();
    // The last bytes reach the disk on closing; a full disk shows only here.
    if (file.fail()) {
        RaiseError(owner, kCouldNotWriteFile);
        return false;
    }
    if (owner.DownloadComplete)
        owner.DownloadComplete();
    return true;
}

} // namespace tollivex
