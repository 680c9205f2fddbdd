#pragma once
// The internet layer: HTTP sessions, HEAD requests that deliver their raw
// header block, URL reads in fixed-size pieces, and the connectivity test.
// Everything runs on the calling (window) thread: while a call waits for the
// network it lets the window's events run, so the window stays alive and
// nested handlers (a stop click, a timer) can run inside it.
//
// Handles are objects: destroying one closes it. Closing a session while a
// request or URL reader made from it is still open is safe; they keep what
// they need and go on working.
//
// Waiting is bounded: a connection must be made within the connect time-out
// (15 s) and a transfer that receives nothing for the stall time-out (30 s)
// fails. A HEAD request also gives up after 60 s in all. A wait that the
// caller gives up ends at once, a slow name lookup's too: the lookup is left
// to finish on its own.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tollivex::platform {

class HttpConnection;
class HeadRequest;
class UrlReader;

/// An internet session: a user agent, direct access unless the user's
/// environment names a proxy (http_proxy, https_proxy, all_proxy, no_proxy, as
/// curl reads them), and a pool of connections reused by its requests.
class InternetSession {
public:
    /// Nothing when the session cannot be made.
    static std::unique_ptr<InternetSession> Open(const std::string& userAgent);
    ~InternetSession();
    InternetSession(const InternetSession&) = delete;
    InternetSession& operator=(const InternetSession&) = delete;

    /// A connection to `host` for HTTP, or for HTTPS when `secure`. The host
    /// text may carry a port after a colon ("example.com:8080"); without one
    /// port 80 (443 for HTTPS) is used. No user name means an anonymous
    /// connection. Nothing when the host text is empty. No network traffic
    /// happens until a request is sent.
    std::unique_ptr<HttpConnection> Connect(const std::string& host, const std::optional<std::string>& user,
                                            const std::optional<std::string>& password, bool secure = false);

    /// Opens a URL for GET: sends the request and waits until the answer's
    /// status and headers have arrived. The URL goes out as it is (http and
    /// https; a URL without a scheme is taken as http). Nothing when the server
    /// cannot be reached or does not answer with HTTP, and nothing when
    /// `giveUp` (asked after each turn of the window's events while the
    /// answer is awaited) answers true: a cancel need not wait for the server.
    /// `headers` ("Range: bytes=100-") are sent with the request.
    std::unique_ptr<UrlReader> OpenUrl(const std::string& url, const std::function<bool()>& giveUp = {},
                                       const std::vector<std::string>& headers = {});

    struct Impl;

private:
    explicit InternetSession(std::shared_ptr<Impl> impl);
    std::shared_ptr<Impl> impl_;
};

class HttpConnection {
public:
    ~HttpConnection();
    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;

    /// A HEAD request for `path` ("/a/b.flv"; "" asks for the root) with the
    /// given protocol version ("HTTP/1.0" or "HTTP/1.1"). Never answered from a
    /// cache. Nothing when the request cannot be made.
    std::unique_ptr<HeadRequest> OpenHeadRequest(const std::string& path, const std::string& version);

    struct Impl;

private:
    friend class InternetSession;
    explicit HttpConnection(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

class HeadRequest {
public:
    ~HeadRequest();
    HeadRequest(const HeadRequest&) = delete;
    HeadRequest& operator=(const HeadRequest&) = delete;

    /// Sends the request and waits for the answer (redirects are followed).
    /// False when no answer came (nothing listening, time-out, not HTTP), and
    /// false at once when `giveUp` (asked after each turn of the window's
    /// events while the answer is awaited) answers true.
    bool Send(const std::function<bool()>& giveUp = {});

    /// The status line and every header of the final answer, each line ended
    /// by CR LF and the block ended by an empty line, copied into `buffer`
    /// followed by a NUL. `length` holds the buffer's size on entry and the
    /// block's length on return. False, with `length` set to the size needed,
    /// when the block and its NUL do not fit; false when nothing was received.
    bool QueryRawHeaders(char* buffer, std::size_t& length) const;

    /// The numeric status code of the final answer as text ("200").
    /// Nothing when no status line was received.
    std::optional<std::string> QueryStatusCode() const;

    /// The final answer's Content-Length, however long its header block;
    /// nothing when it gave none, or one that is not a plain number.
    std::optional<std::int64_t> ContentLength() const;

    struct Impl;

private:
    friend class HttpConnection;
    explicit HeadRequest(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

/// The body of an opened URL, read in pieces.
class UrlReader {
public:
    ~UrlReader();
    UrlReader(const UrlReader&) = delete;
    UrlReader& operator=(const UrlReader&) = delete;

    /// The status code of the answer (after redirects).
    int StatusCode() const;
    /// The body's length as the answer's Content-Length announced it; -1
    /// when the answer gave none.
    std::int64_t ContentLength() const;
    /// The value of the answer's header `name` (any letter case); nothing
    /// when the answer has none.
    std::optional<std::string> Header(const std::string& name) const;

    /// Blocks until `wanted` bytes are in `buffer` or the data has ended, and
    /// sets `got`. A read of fewer than `wanted` bytes means the end follows;
    /// got == 0 with true means the end of the data. False when the transfer
    /// broke (connection lost, fewer bytes than the announced length, stall
    /// time-out); bytes that arrived before the break are delivered first.
    /// While it waits, `giveUp` (when given) is asked after each turn of the
    /// window's events; once it answers true the read returns true with the
    /// bytes it has, possibly none, so a cancel need not wait for the server.
    bool Read(char* buffer, std::size_t wanted, std::size_t& got, const std::function<bool()>& giveUp = {});

    struct Impl;

private:
    friend class InternetSession;
    explicit UrlReader(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

/// True when this machine has a working network interface besides the
/// loopback, or when a test's host mapping sends connections to a local
/// server (platform/seams/TestSeams.h).
bool InternetConnected();

} // namespace tollivex::platform
