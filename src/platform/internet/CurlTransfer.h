#pragma once
// The libcurl machinery behind the internet layer's handles: one multi handle
// per session, driven from the calling thread, and one easy transfer per
// request or URL reader with its header block and body buffer.

#include <curl/curl.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tollivex::platform::seams {
struct InternetSeams;
}

namespace tollivex::platform::internet {

/// A session's multi handle; its connection cache is what lets requests of one
/// session reuse connections.
class CurlMulti {
public:
    CurlMulti();
    ~CurlMulti();
    CurlMulti(const CurlMulti&) = delete;
    CurlMulti& operator=(const CurlMulti&) = delete;

    CURLM* Handle() const { return multi_; }
    /// Lets libcurl move data for every transfer of the session and marks the
    /// ones that have ended. Never blocks.
    void Perform();
    /// Runs libcurl and the window's events until `done` holds. Waits on the
    /// sockets for short slices so neither the window nor the CPU suffer.
    void RunUntil(const std::function<bool()>& done);

private:
    CURLM* multi_ = nullptr;
};

/// Options every transfer of a session gets.
struct TransferOptions {
    std::string url;
    std::string userAgent;
    bool head = false;
    bool http10 = false;
    bool keepBody = false;
    std::vector<std::string> headers;  // sent with the request
    const std::string* user = nullptr; // no user: anonymous
    const std::string* password = nullptr;
};

class CurlTransfer {
public:
    CurlTransfer(std::shared_ptr<CurlMulti> multi, const TransferOptions& options);
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    bool Valid() const { return easy_ != nullptr; }
    /// Hands the transfer to the session's multi handle; data starts to flow.
    void Start();
    /// Runs until the transfer ended, or until `giveUp` (when given) answers
    /// true; false then, and the transfer is left unfinished.
    bool RunToEnd(const std::function<bool()>& giveUp = {});
    /// Runs until the first body byte arrived or the transfer ended, or until
    /// `giveUp` answers true (false then).
    bool RunToBody(const std::function<bool()>& giveUp = {});

    bool Finished() const { return finished_; }
    CURLcode Result() const { return result_; }
    long StatusCode() const;
    /// The answer's Content-Length; -1 when it gave none.
    std::int64_t ContentLength() const;

    /// The final answer's header block (CR LF lines, ended by an empty line).
    const std::string& HeaderBlock() const { return headerBlock_; }
    bool HeadersComplete() const { return headersComplete_; }
    /// The value of the final answer's header `name`; nothing when it has none.
    std::optional<std::string> Header(const std::string& name) const;
    bool HeaderOverflow() const { return headerOverflow_; }

    /// Moves up to `wanted` body bytes out; blocks like UrlReader::Read.
    bool ReadBody(char* buffer, std::size_t wanted, std::size_t& got, const std::function<bool()>& giveUp);

    /// Called by CurlMulti when libcurl reports the end of this transfer.
    void MarkFinished(CURLcode result);

private:
    // The options, by what they settle: the web only and the waits; the request; the route.
    void SetWebOptions(const TransferOptions& options, long connectSeconds, long stallSeconds);
    void SetRequestOptions(const TransferOptions& options, long stallSeconds);
    void SetRouteOptions(const seams::InternetSeams& seams);
    static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
    std::size_t Buffered() const { return buffered_; }
    void Resume();

    std::shared_ptr<CurlMulti> multi_;
    CURL* easy_ = nullptr;
    curl_slist* connectTo_ = nullptr;
    curl_slist* extraHeaders_ = nullptr;
    bool added_ = false;
    bool finished_ = false;
    CURLcode result_ = CURLE_OK;

    std::string headerBlock_;
    bool headersComplete_ = false;
    bool headerOverflow_ = false;
    // A body is read only to the length the answer announces, so the length
    // must be a plain number (libcurl would read "1,500" as 1 and stop there).
    bool needsPlainLength_ = false;

    bool keepBody_ = false;
    bool bodyStarted_ = false;
    bool paused_ = false;
    // Received pieces in order; the front one is read from frontOffset_ on.
    // Pieces are never moved once received.
    std::deque<std::string> body_;
    std::size_t frontOffset_ = 0;
    std::size_t buffered_ = 0;
    std::size_t wanted_ = 0; // the pending read's size: the buffer always makes room for it
};

/// The URL with spaces, control characters and non-ASCII bytes percent-encoded,
/// so an address copied from a page goes out as a browser would send it.
std::string EscapeForRequest(const std::string& url);

} // namespace tollivex::platform::internet
