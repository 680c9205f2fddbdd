// The transfer: fetches Url into LocalFile in 2048-byte reads, one progress
// event per read, and reports how it ended through the component's events.

#include "platform/DiskFile.h"
#include "platform/EventLoop.h"
#include "platform/internet/Internet.h"
#include "transfer/ContinueRules.h"
#include "transfer/Download.h"
#include "transfer/DownloadState.h"
#include "transfer/TransferProgress.h"

#include <vector>

namespace tollivex {

namespace {

// One progress event per chunk: the host's handler runs once per 2 KiB.
constexpr std::size_t kChunkSize = 2048;

// The chunks reach the disk in blocks of this size: one system call per 2 KiB
// would cost more than the network itself, and far larger blocks fall out of
// the processor cache before the kernel copies them (256 KiB ran at half speed).
constexpr std::size_t kFileBlockSize = 32 * 1024;

/// Collects written chunks and hands them to the file a block at a time.
class BlockWriter {
public:
    explicit BlockWriter(platform::DiskFile& file) : file_(file) { block_.reserve(kFileBlockSize); }
    bool Write(const char* bytes, std::size_t count)
    {
        block_.insert(block_.end(), bytes, bytes + count);
        return block_.size() < kFileBlockSize || Flush();
    }
    bool Flush()
    {
        const bool written = block_.empty() || file_.Append(block_.data(), block_.size());
        block_.clear();
        return written;
    }

private:
    platform::DiskFile& file_;
    std::vector<char> block_;
};

void RaiseError(Download& owner, const char* text)
{
    std::string description = text;
    if (owner.DownloadError)
        owner.DownloadError(description);
}

// A file the host gave no file for (the page fetch) is made by name, or an
// earlier one of that name reused; a link there is never followed.
std::shared_ptr<platform::DiskFile> OpenLocalFile(const std::string& path)
{
    if (auto existing = platform::DiskFile::OpenRegular(path))
        return existing;
    return platform::DiskFile::CreateNew(path);
}

std::string AnswerValidator(const platform::UrlReader& reader)
{
    return ValidatorOf(reader.Header("ETag"), reader.Header("Last-Modified"));
}

} // namespace

/// The answer a transfer writes from.
struct Download::Impl::Answer {
    std::unique_ptr<platform::UrlReader> reader;
    std::int64_t kept = 0;   // bytes of the file that stay: the answer is their rest
    std::int64_t total = -1; // the whole file's size by the answer; -1 when it gave none
};

std::shared_ptr<platform::InternetSession> Download::Impl::SessionForTransfer(Download& owner)
{
    if (!hSession)
        OpenSession();
    std::shared_ptr<platform::InternetSession> session = hSession;
    platform::DoEvents();
    bCloseSessionAfterInfo = false;
    if (!bInfoRequested)
        owner.RequestInformation();
    bCloseSessionAfterInfo = true;
    platform::DoEvents();
    return session;
}

Download::Impl::Answer Download::Impl::OpenAnswer(platform::InternetSession& session, const std::function<bool()>& stop)
{
    Answer answer;
    const std::int64_t kept = Target && MayContinue ? Target->Size() : 0;
    const std::string validator = Target && MayContinue ? Target->Attribute(kValidatorAttribute).value_or("") : "";
    if (MayAskForRest(kept, validator, AnnouncedSize)) {
        const std::vector<std::string> headers = {"Range: bytes=" + std::to_string(kept) + "-",
                                                  "If-Range: " + validator};
        answer.reader = session.OpenUrl(Url, stop, headers);
        if (!answer.reader)
            return answer;
        const platform::UrlReader& reader = *answer.reader;
        const auto contentRange = reader.Header("Content-Range");
        switch (JudgeRangeAnswer(reader.StatusCode(), contentRange, AnswerValidator(reader), kept, validator,
                                 AnnouncedSize)) {
        case RangeAnswer::Append:
            answer.kept = kept;
            answer.total = ParseContentRange(*contentRange)->total;
            return answer;
        case RangeAnswer::StartOver: answer.total = reader.ContentLength(); return answer;
        case RangeAnswer::AskWhole:
            answer.reader.reset();
            platform::DoEvents();
            if (stop())
                return answer;
            break;
        }
    }
    answer.reader = session.OpenUrl(Url, stop);
    if (answer.reader)
        answer.total = answer.reader->ContentLength();
    return answer;
}

bool Download::Impl::PrepareTarget(const Answer& answer, bool recordVersion)
{
    if (!Target)
        Target = OpenLocalFile(LocalFile);
    if (!Target)
        return false;
    if (answer.kept > 0)
        return true;
    // Starting over: the old bytes go before the new version is recorded, so
    // that not even a kill in between can join bytes of two versions.
    if (!Target->Truncate(0))
        return false;
    if (recordVersion)
        Target->SetAttribute(kValidatorAttribute, AnswerValidator(*answer.reader));
    return true;
}

bool Download::Impl::TransferFile(Download& owner)
{
    bCancel = false;
    BytesReceived = 0;
    ContinuedFrom = 0;
    ResponseStatus = 0;
    // The host's file serves this transfer only; a later one (the next page
    // fetch) never writes into it.
    const bool recordVersion = Target != nullptr;
    struct ReleaseTarget {
        Impl& impl;
        ~ReleaseTarget() { impl.Target.reset(); }
    } release{*this};
    platform::DoEvents();
    std::shared_ptr<platform::InternetSession> session = SessionForTransfer(owner);

    const auto stop = [this, &owner] { return MustStop(owner); };
    if (stop())
        return CancelledBeforeData(owner);
    Answer answer = session ? OpenAnswer(*session, stop) : Answer{};
    platform::DoEvents();
    if (stop()) {
        answer.reader.reset();
        return CancelledBeforeData(owner);
    }
    ResponseStatus = answer.reader ? answer.reader->StatusCode() : 0;
    // Only the whole file (200) or exactly its rest is ever saved: an error
    // page, an empty answer (204), a "not modified" (304), a part that does
    // not continue the kept bytes or a redirect that leads nowhere is not.
    // The file stays as it was. A page is taken as it comes, an error page
    // aside (TakesAnswer).
    if (!answer.reader || (answer.kept == 0 && !TakesAnswer(ResponseStatus))) {
        answer.reader.reset();
        RaiseError(owner, kCouldNotFindUrl);
        return false;
    }
    if (!PrepareTarget(answer, recordVersion)) {
        answer.reader.reset();
        RaiseError(owner, kCouldNotWriteFile);
        return false;
    }
    ContinuedFrom = answer.kept;
    return ReceiveBody(owner, answer, stop);
}

bool Download::Impl::CancelledBeforeData(Download& owner)
{
    std::int32_t lPosition = 0;
    if (owner.DownloadCancelled)
        owner.DownloadCancelled(lPosition);
    hSession.reset();
    return false;
}

bool Download::Impl::ReceiveBody(Download& owner, Answer& answer, const std::function<bool()>& stop)
{
    BlockWriter writer(*Target);
    std::int64_t byteCount = answer.kept; // 64 bits: files past 2 GiB
    BytesReceived = byteCount;
    auto endTransfer = [&] {
        answer.reader.reset();
        hSession.reset();
        return writer.Flush();
    };
    char chunk[kChunkSize];
    for (bool moreData = true; moreData;) {
        platform::DoEvents();
        std::size_t got = 0;
        // A cancel asked for while the server is silent is taken at once; the
        // read then ends short and the cancel follows the progress event.
        const bool readOk = answer.reader->Read(chunk, kChunkSize, got, stop);
        platform::DoEvents();
        if (!readOk) {
            endTransfer();
            RaiseError(owner, kCouldNotReadUrl);
            return false;
        }
        byteCount += static_cast<std::int64_t>(got);
        BytesReceived = byteCount;
        moreData = got > 0;
        if (moreData && !writer.Write(chunk, got)) {
            endTransfer();
            RaiseError(owner, kCouldNotWriteFile);
            return false;
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
    // The last block reaches the file only here; a full disk may show now.
    if (!endTransfer()) {
        RaiseError(owner, kCouldNotWriteFile);
        return false;
    }
    // The answer's own length is the whole file: fewer or more bytes are not it.
    if (bWholeFileRequired && answer.total >= 0 && answer.total != byteCount) {
        RaiseError(owner, kCouldNotReadUrl);
        return false;
    }
    if (owner.DownloadComplete)
        owner.DownloadComplete();
    return true;
}

} // namespace tollivex
