#pragma once
// A scriptable HTTP server on the loopback for tests. It starts on a free port
// in its own thread when constructed and stops (closing every connection) when
// destroyed. Each route answers either with a ready response (Serve), with raw
// bytes sent as they are (ServeRaw: malformed answers, early closes), or with a
// handler that writes to the connection itself (Route: trickling, resets).
//
//     HttpTestServer server;
//     server.Serve("/clip.flv", "video bytes", {{"Content-Type", "video/x-flv"}});
//     server.Route("/slow", [](const HttpTestRequest&, HttpTestConnection& c) {
//         c.Send(HttpTestServer::ResponseHead(200, "OK", {{"Content-Length", "10"}}));
//         c.SendSlowly("0123456789", 1, 50);
//     });
//     std::string url = server.Url("/clip.flv");   // http://127.0.0.1:PORT/clip.flv
//
// Handlers run on the server's own threads until the server is destroyed:
// capture by value whatever the test destroys before the server.
//
// A HEAD request to a Serve route gets the head without the body. Unknown paths
// get a 404. Connections stay open for further requests unless the request is
// HTTP/1.0, asks for "Connection: close", or the route closed it.

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tollivex::test {

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

/// One request as the server read it.
struct HttpTestRequest {
    std::string requestLine; // "GET /a HTTP/1.1", without CR LF
    std::string method;
    std::string target; // as sent, query included
    std::string path;   // target without its query
    std::string version;
    HttpHeaders headers; // in the order received
    std::string body;
    int connectionNumber = 0; // 1 for the first accepted connection, ...

    /// Value of the first header of that name (any case); "" when absent.
    std::string Header(const std::string& name) const;
    bool HasHeader(const std::string& name) const;
};

/// The client's connection, for route handlers.
class HttpTestConnection {
public:
    virtual ~HttpTestConnection() = default;
    /// Sends the bytes as they are; false once the peer has gone.
    virtual bool Send(const std::string& bytes) = 0;
    /// Sends `chunkSize` bytes, waits `delayMs`, and so on. Stops early when the
    /// server is stopping or the peer has gone.
    virtual bool SendSlowly(const std::string& bytes, std::size_t chunkSize, int delayMs) = 0;
    /// Waits without sending (a server that is slow to answer); returns early
    /// when the server stops.
    virtual void Pause(int ms) = 0;
    /// Closes the connection after what was sent (an early end of data).
    virtual void Close() = 0;
    /// Aborts the connection with a reset.
    virtual void Reset() = 0;
    virtual bool Closed() const = 0;
};

using HttpTestHandler = std::function<void(const HttpTestRequest&, HttpTestConnection&)>;

class HttpTestServer {
public:
    HttpTestServer();
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int Port() const { return port_; }
    /// "127.0.0.1:PORT"
    std::string HostAndPort() const;
    /// "http://127.0.0.1:PORT" + path
    std::string Url(const std::string& path) const;

    /// Routes an exact path (without the query) to a handler; replaces an earlier route.
    void Route(const std::string& path, HttpTestHandler handler);
    /// A complete response: status line, Content-Length, the given headers, then the body.
    void Serve(const std::string& path, const std::string& body, const HttpHeaders& headers = {}, int status = 200,
               const std::string& reason = "OK");
    /// Sends exactly these bytes, whatever the request, then closes the connection.
    void ServeRaw(const std::string& path, const std::string& bytes);
    /// Answers requests for unrouted paths (by default a 404 page).
    void SetFallback(HttpTestHandler handler);

    /// Requests received so far, in order.
    std::vector<HttpTestRequest> Requests() const;
    int RequestCount() const;
    int RequestCount(const std::string& path) const;
    /// Number of connections accepted so far.
    int ConnectionCount() const;
    /// Waits until at least `count` requests have arrived (or the time ran out).
    bool WaitForRequests(int count, int timeoutMs) const;

    /// "HTTP/1.1 <status> <reason>\r\n" + headers + "\r\n".
    static std::string ResponseHead(int status, const std::string& reason, const HttpHeaders& headers = {});
    /// A whole response with Content-Length set to the body's size.
    static std::string Response(int status, const std::string& reason, const std::string& body,
                                const HttpHeaders& headers = {});

    struct State;

private:
    int port_ = 0;
    std::shared_ptr<State> state_;
};

} // namespace tollivex::test
