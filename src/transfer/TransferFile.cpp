// The transfer: fetches Url into LocalFile in 2048-byte reads, one progress
// event per read, and reports how it ended through the component's events.

#include "platform/EventLoop.h"
#include "platform/internet/Internet.h"
#include "transfer/Download.h"
#include "transfer/DownloadState.h"
#include "transfer/TransferProgress.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace tollivex {

namespace {

// One progress event per chunk: the host's handler runs once per 2 KiB.
constexpr std::size_t kChunkSize = 2048;

// The chunks reach the disk in blocks of this size: one system call per 2 KiB
// (what the standard file stream does with writes of that size) would cost
// more than the network itself, and far larger blocks fall out of the
// processor cache before the kernel copies them (256 KiB ran at half speed).
constexpr std::size_t kFileBlockSize = 32 * 1024;

/// Collects written chunks and hands them to the file a block at a time.
class BlockWriter {
public:
    explicit BlockWriter(std::ofstream& file) : file_(file) { block_.reserve(kFileBlockSize); }
    bool Write(const char* bytes, std::size_t count)
    {
        block_.insert(block_.end(), bytes, bytes + count);
        return block_.size() < kFileBlockSize || Flush();
    }
    bool Flush()
    {
        if (!block_.empty())
            file_.write(block_.data(), static_cast<std::streamsize>(block_.size()));
        block_.clear();
        return static_cast<bool>(file_);
    }

private:
    std::ofstream& file_;
    std::vector<char> block_;
};

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
    BytesReceived = 0;
    ResponseStatus = 0;
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

    const auto stop = [this, &owner] { return MustStop(owner); };
    // A cancel before the answer came: nothing was written, nothing more is asked.
    auto cancelledBeforeData = [&] {
        std::int32_t lPosition = 0;
        if (owner.DownloadCancelled)
            owner.DownloadCancelled(lPosition);
        hSession.reset();
        return false;
    };
    if (stop())
        return cancelledBeforeData();
    std::unique_ptr<platform::UrlReader> url = session ? session->OpenUrl(Url, stop) : nullptr;
    platform::DoEvents();
    if (stop()) {
        url.reset();
        return cancelledBeforeData();
    }
    ResponseStatus = url ? url->StatusCode() : 0;
    // Only a 200 answer carries the whole file: an error page, an empty
    // answer (204), a "not modified" (304), a part of the file (206) or a
    // redirect that leads nowhere is never saved. The local file stays untouched.
    // A page is taken as it comes, an error page aside (TakesAnswer).
    if (!url || !TakesAnswer(url->StatusCode())) {
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

    BlockWriter writer(file);
    bool written = true;
    auto endTransfer = [&] {
        url.reset();
        hSession.reset();
        written = writer.Flush() && written;
        file.close();
    };

    char chunk[kChunkSize];
    std::int64_t byteCount = 0; // 64 bits: files past 2 GiB
    bool moreData = true;
    while (moreData) {
        platform::DoEvents();
        std::size_t got = 0;
        // A cancel asked for while the server is silent is taken at once; the
        // read then ends short and the cancel follows the progress event.
        const bool readOk = url->Read(chunk, kChunkSize, got, stop);
        platform::DoEvents();
        if (!readOk) {
            endTransfer();
            RaiseError(owner, kCouldNotReadUrl);
            return false;
        }
        byteCount += static_cast<std::int64_t>(got);
        BytesReceived = byteCount;
        if (got > 0) {
            if (!writer.Write(chunk, got)) {
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

        if (stop()) {
            std::int32_t lPosition = ClampToInt32(static_cast<double>(byteCount));
            if (owner.DownloadCancelled)
                owner.DownloadCancelled(lPosition);
            endTransfer();
            return false;
        }
    }

    const std::int64_t announced = url->ContentLength();
    endTransfer();
    // The last bytes reach the disk on closing; a full disk shows only here.
    if (!written || file.fail()) {
        RaiseError(owner, kCouldNotWriteFile);
        return false;
    }
    // The answer's own length is the whole file: fewer or more bytes are not it.
    if (bWholeFileRequired && announced >= 0 && announced != byteCount) {
        RaiseError(owner, kCouldNotReadUrl);
        return false;
    }
    if (owner.DownloadComplete)
        owner.DownloadComplete();
    return true;
}

} // namespace tollivex
