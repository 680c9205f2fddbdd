#include "platform/internet/CurlTransfer.h"

#include "platform/EventLoop.h"
#include "platform/internet/HttpText.h"
#include "platform/internet/ProxyEnvironment.h"
#include "platform/seams/SeamHooks.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>

namespace tollivex::platform::internet {

namespace {

// False for a Content-Length line whose value is not a plain decimal number;
// true for every other line.
bool PlainContentLength(const std::string& line)
{
    static const char kName[] = "content-length";
    const auto colon = line.find(':');
    if (colon == std::string::npos || !HeaderValue(line, kName))
        return true;
    return PlainLength(std::string_view(line).substr(colon + 1)).has_value();
}

// The window waits at most this long for its events while libcurl waits on a
// socket: short enough that a click or a timer is never held noticeably,
// long enough that a quiet connection costs no CPU.
constexpr int kWaitSliceMs = 5;

// The body buffer stays between these marks. Above the high mark the transfer
// is paused, so a file of any size is streamed through a megabyte of memory;
// below the low mark it is resumed, so reads rarely wait on the network.
constexpr std::size_t kHighWater = 1024 * 1024;
constexpr std::size_t kLowWater = 512 * 1024;

// A header block beyond this is not an HTTP answer the program can use.
constexpr std::size_t kMaxHeaderBlock = 64 * 1024;

// A connection not made within this fails, and so does a transfer that
// receives nothing for the stall time.
constexpr long kConnectSeconds = 15;
constexpr long kStallSeconds = 30;

void GlobalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

CurlMulti::CurlMulti()
{
    GlobalInit();
    multi_ = curl_multi_init();
}

CurlMulti::~CurlMulti()
{
    if (multi_)
        curl_multi_cleanup(multi_);
}

void CurlMulti::Perform()
{
    int running = 0;
    curl_multi_perform(multi_, &running);
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        CurlTransfer* transfer = nullptr;
        curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, reinterpret_cast<char**>(&transfer));
        if (transfer)
            transfer->MarkFinished(message->data.result);
    }
}

void CurlMulti::RunUntil(const std::function<bool()>& done)
{
    Perform();
    while (!done()) {
        int ready = 0;
        curl_multi_poll(multi_, nullptr, 0, kWaitSliceMs, &ready);
        DoEvents();
        Perform();
    }
}

CurlTransfer::CurlTransfer(std::shared_ptr<CurlMulti> multi, const TransferOptions& options)
    : multi_(std::move(multi)), needsPlainLength_(!options.head), keepBody_(options.keepBody)
{
    if (!multi_->Handle())
        return;
    easy_ = curl_easy_init();
    if (!easy_)
        return;
    const seams::InternetSeams seams = seams::Internet();
    const long stallSeconds = seams.stallSeconds > 0 ? seams.stallSeconds : kStallSeconds;
    SetWebOptions(options, seams.connectSeconds > 0 ? seams.connectSeconds : kConnectSeconds, stallSeconds);
    SetRequestOptions(options, stallSeconds);
    SetRouteOptions(seams);
    curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlTransfer::OnHeader);
    curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlTransfer::OnBody);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
}

void CurlTransfer::SetWebOptions(const TransferOptions& options, long connectSeconds, long stallSeconds)
{
    const std::string url = EscapeForRequest(options.url);
    curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy_, CURLOPT_PRIVATE, this);
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
#if LIBCURL_VERSION_NUM >= 0x075700
    // A transfer given up during its name lookup (a stop, a close) ends at
    // once: the lookup's thread is left to finish on its own instead of being
    // waited for, which takes as long as the name server does.
    curl_easy_setopt(easy_, CURLOPT_QUICK_EXIT, 1L);
#endif
    curl_easy_setopt(easy_, CURLOPT_USERAGENT, options.userAgent.c_str());
    // Only the web: an address from a page never opens a local file or another protocol.
    curl_easy_setopt(easy_, CURLOPT_DEFAULT_PROTOCOL, "http");
    curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(easy_, CURLOPT_BUFFERSIZE, 128L * 1024L);
    // A server that never answers or stops sending ends the wait: no data for
    // the stall time-out (30 s) fails the transfer, as does a connection not
    // made within the connect time-out (15 s).
    curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT, connectSeconds);
    curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_TIME, stallSeconds);
}

void CurlTransfer::SetRequestOptions(const TransferOptions& options, long stallSeconds)
{
    if (options.head) {
        curl_easy_setopt(easy_, CURLOPT_NOBODY, 1L);
        // An answer without a body needs no length; reading it here would turn
        // a malformed Content-Length into a failed request instead of "no size".
        curl_easy_setopt(easy_, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
        // A question about a file is answered within twice the stall time-out
        // (60 s), even by a server that trickles its headers.
        curl_easy_setopt(easy_, CURLOPT_TIMEOUT, 2L * stallSeconds);
        extraHeaders_ = curl_slist_append(extraHeaders_, "Pragma: no-cache");
        extraHeaders_ = curl_slist_append(extraHeaders_, "Cache-Control: no-cache");
    }
    for (const std::string& header : options.headers)
        extraHeaders_ = curl_slist_append(extraHeaders_, header.c_str());
    if (extraHeaders_)
        curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, extraHeaders_);
    if (options.http10)
        curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    if (options.user) {
        curl_easy_setopt(easy_, CURLOPT_USERNAME, options.user->c_str());
        curl_easy_setopt(easy_, CURLOPT_PASSWORD, options.password ? options.password->c_str() : "");
        curl_easy_setopt(easy_, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
    }
}

void CurlTransfer::SetRouteOptions(const seams::InternetSeams& seams)
{
    if (!seams.trustedCertificates.empty())
        curl_easy_setopt(easy_, CURLOPT_CAINFO, seams.trustedCertificates.c_str());
    for (const std::string& entry : seams.connectTo)
        connectTo_ = curl_slist_append(connectTo_, entry.c_str());
    if (connectTo_)
        curl_easy_setopt(easy_, CURLOPT_CONNECT_TO, connectTo_);
    // Direct, unless the user's environment names a proxy.
    ApplyProxyChoice(easy_, connectTo_);
}

CurlTransfer::~CurlTransfer()
{
    if (easy_) {
        if (added_)
            curl_multi_remove_handle(multi_->Handle(), easy_);
        curl_easy_cleanup(easy_);
    }
    curl_slist_free_all(connectTo_);
    curl_slist_free_all(extraHeaders_);
}

void CurlTransfer::Start()
{
    if (!easy_ || added_)
        return;
    if (curl_multi_add_handle(multi_->Handle(), easy_) != CURLM_OK) {
        MarkFinished(CURLE_FAILED_INIT);
        return;
    }
    added_ = true;
}

namespace {
// Runs `multi` until `reached` holds or `giveUp` answers true; true when reached.
// The wait slice is short, so a give-up is seen within milliseconds.
bool RunOrGiveUp(CurlMulti& multi, const std::function<bool()>& reached, const std::function<bool()>& giveUp)
{
    bool gaveUp = false;
    multi.RunUntil([&] {
        if (reached())
            return true;
        gaveUp = giveUp && giveUp();
        return gaveUp;
    });
    return !gaveUp;
}
} // namespace

bool CurlTransfer::RunToEnd(const std::function<bool()>& giveUp)
{
    if (!added_)
        return true;
    return RunOrGiveUp(
        *multi_, [this] { return finished_; }, giveUp);
}

bool CurlTransfer::RunToBody(const std::function<bool()>& giveUp)
{
    if (!added_)
        return true;
    return RunOrGiveUp(
        *multi_, [this] { return finished_ || bodyStarted_; }, giveUp);
}

long CurlTransfer::StatusCode() const
{
    long code = 0;
    if (easy_)
        curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
    return code;
}

std::int64_t CurlTransfer::ContentLength() const
{
    curl_off_t length = -1;
    if (!easy_ || curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK)
        return -1;
    return static_cast<std::int64_t>(length);
}

std::optional<std::string> CurlTransfer::Header(const std::string& name) const
{
    return HeaderValue(headerBlock_, name);
}

void CurlTransfer::MarkFinished(CURLcode result)
{
    finished_ = true;
    result_ = result;
}

std::size_t CurlTransfer::OnHeader(char* data, std::size_t size, std::size_t count, void* self)
{
    auto* transfer = static_cast<CurlTransfer*>(self);
    const std::size_t length = size * count;
    std::string line(data, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    // Every answer (a redirect, an interim 100) starts a new block: the block
    // describes the final answer only.
    if (line.compare(0, 5, "HTTP/") == 0) {
        transfer->headerBlock_.clear();
        transfer->headersComplete_ = false;
    }
    transfer->headerBlock_ += line;
    transfer->headerBlock_ += "\r\n";
    if (line.empty())
        transfer->headersComplete_ = true;
    if (transfer->headerBlock_.size() > kMaxHeaderBlock) {
        transfer->headerOverflow_ = true;
        return 0; // ends the transfer
    }
    if (transfer->needsPlainLength_ && !PlainContentLength(line))
        return 0; // a body of unknown true length is never taken as whole
    return length;
}

std::size_t CurlTransfer::OnBody(char* data, std::size_t size, std::size_t count, void* self)
{
    auto* transfer = static_cast<CurlTransfer*>(self);
    const std::size_t length = size * count;
    transfer->bodyStarted_ = true;
    if (!transfer->keepBody_)
        return length;
    if (transfer->Buffered() >= std::max(kHighWater, transfer->wanted_)) {
        transfer->paused_ = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (length > 0) {
        transfer->body_.emplace_back(data, length);
        transfer->buffered_ += length;
    }
    return length;
}

void CurlTransfer::Resume()
{
    if (!paused_)
        return;
    paused_ = false;
    // libcurl may hand over the held data from inside this call.
    curl_easy_pause(easy_, CURLPAUSE_CONT);
}

bool CurlTransfer::ReadBody(char* buffer, std::size_t wanted, std::size_t& got, const std::function<bool()>& giveUp)
{
    got = 0;
    if (!easy_)
        return false;
    wanted_ = wanted;
    if (!finished_ && Buffered() < kLowWater) {
        Resume();
        multi_->Perform();
    }
    bool gaveUp = false;
    if (Buffered() < wanted && !finished_) {
        multi_->RunUntil([&] {
            if (paused_)
                Resume();
            gaveUp = giveUp && giveUp();
            return finished_ || Buffered() >= wanted || gaveUp;
        });
    }
    while (got < wanted && !body_.empty()) {
        const std::string& front = body_.front();
        const std::size_t take = std::min(wanted - got, front.size() - frontOffset_);
        // Body bytes, not text: no NUL belongs after them.
        std::memcpy(buffer + got, front.data() + frontOffset_, take); // NOLINT(bugprone-not-null-terminated-result)
        got += take;
        frontOffset_ += take;
        buffered_ -= take;
        if (frontOffset_ == front.size()) {
            body_.pop_front();
            frontOffset_ = 0;
        }
    }
    if (got > 0 || gaveUp)
        return true;
    return finished_ && result_ == CURLE_OK;
}

std::string EscapeForRequest(const std::string& url)
{
    static const char* const hex = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(url.size());
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7f) {
            escaped += '%';
            escaped += hex[byte >> 4];
            escaped += hex[byte & 0x0f];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

} // namespace tollivex::platform::internet
