#include "support/HttpTestServer.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <set>
#include <stdexcept>
#include <thread>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using SocketHandle = SOCKET;
constexpr SocketHandle kNoSocket = INVALID_SOCKET;
static int PollSockets(pollfd* fds, unsigned long count, int ms) { return WSAPoll(fds, count, ms); }
static void CloseSocket(SocketHandle s) { closesocket(s); }
constexpr int kSendFlags = 0;
constexpr int kShutBoth = SD_BOTH;
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
using SocketHandle = int;
constexpr SocketHandle kNoSocket = -1;
static int PollSockets(pollfd* fds, nfds_t count, int ms) { return ::poll(fds, count, ms); }
static void CloseSocket(SocketHandle s) { ::close(s); }
constexpr int kSendFlags = MSG_NOSIGNAL;
constexpr int kShutBoth = SHUT_RDWR;
#endif

namespace tollivex::test {

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool HasHeaderNamed(const HttpHeaders& headers, const std::string& name)
{
    const std::string wanted = Lower(name);
    return std::any_of(headers.begin(), headers.end(), [&](const auto& h) { return Lower(h.first) == wanted; });
}

// Limits that keep a misbehaving client from holding the server.
constexpr std::size_t kMaxRequestHead = 64 * 1024;
constexpr std::size_t kMaxRequestBody = 16 * 1024 * 1024;
constexpr int kIdleLimitMs = 10000;
constexpr int kPollSliceMs = 50;

} // namespace

std::string HttpTestRequest::Header(const std::string& name) const
{
    const std::string wanted = Lower(name);
    for (const auto& [key, value] : headers)
        if (Lower(key) == wanted)
            return value;
    return {};
}

bool HttpTestRequest::HasHeader(const std::string& name) const { return HasHeaderNamed(headers, name); }

struct HttpTestServer::State {
    SocketHandle listener = kNoSocket;
    std::atomic<bool> stopping{false};
    std::thread acceptor;

    mutable std::mutex mutex;
    mutable std::condition_variable requestArrived;
    std::map<std::string, HttpTestHandler> routes;
    HttpTestHandler fallback;
    std::vector<HttpTestRequest> requests;
    int connections = 0;
    std::set<SocketHandle> openSockets;
    std::vector<std::thread> workers;

    void AcceptLoop();
    void ServeConnection(SocketHandle socket, int number);
    void Forget(SocketHandle socket);
};

namespace {

class Connection final : public HttpTestConnection {
public:
    Connection(SocketHandle socket, HttpTestServer::State& state) : socket_(socket), state_(state) {}

    bool Send(const std::string& bytes) override
    {
        std::size_t sent = 0;
        while (sent < bytes.size() && !closed_ && !state_.stopping) {
            const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size() - sent, 1 << 20));
            const auto n = ::send(socket_, bytes.data() + sent, chunk, kSendFlags);
            if (n <= 0) {
                Close();
                return false;
            }
            sent += static_cast<std::size_t>(n);
        }
        return sent == bytes.size();
    }

    bool SendSlowly(const std::string& bytes, std::size_t chunkSize, int delayMs) override
    {
        chunkSize = std::max<std::size_t>(chunkSize, 1);
        for (std::size_t at = 0; at < bytes.size(); at += chunkSize) {
            if (!Send(bytes.substr(at, chunkSize)))
                return false;
            if (at + chunkSize < bytes.size())
                Pause(delayMs);
        }
        return !closed_;
    }

    void Pause(int ms) override
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!state_.stopping && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 10)));
    }

    void Close() override
    {
        if (closed_)
            return;
        closed_ = true;
        ::shutdown(socket_, kShutBoth);
    }

    void Reset() override
    {
        if (closed_)
            return;
        linger hard{};
        hard.l_onoff = 1;
        hard.l_linger = 0;
        ::setsockopt(socket_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
        closed_ = true;
        // Closing with a zero linger sends the reset; the server forgets the socket.
        state_.Forget(socket_);
        CloseSocket(socket_);
        reset_ = true;
    }

    bool Closed() const override { return closed_; }
    bool WasReset() const { return reset_; }

    // Reads one request; false when the peer went, the server stops, or the
    // connection sat idle too long.
    bool ReadRequest(HttpTestRequest& request)
    {
        std::size_t headEnd;
        int idleMs = 0;
        while ((headEnd = pending_.find("\r\n\r\n")) == std::string::npos) {
            if (pending_.size() > kMaxRequestHead || !Receive(idleMs))
                return false;
        }
        const std::string head = pending_.substr(0, headEnd);
        pending_.erase(0, headEnd + 4);

        std::size_t lineEnd = head.find("\r\n");
        request.requestLine = head.substr(0, lineEnd);
        const auto firstSpace = request.requestLine.find(' ');
        const auto secondSpace = request.requestLine.find(' ', firstSpace == std::string::npos ? 0 : firstSpace + 1);
        request.method = request.requestLine.substr(0, firstSpace);
        if (firstSpace != std::string::npos)
            request.target = request.requestLine.substr(firstSpace + 1, secondSpace - firstSpace - 1);
        if (secondSpace != std::string::npos)
            request.version = request.requestLine.substr(secondSpace + 1);
        request.path = request.target.substr(0, request.target.find('?'));

        while (lineEnd != std::string::npos) {
            const auto start = lineEnd + 2;
            lineEnd = head.find("\r\n", start);
            const std::string line = head.substr(start,
                                                 lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
            const auto colon = line.find(':');
            if (colon == std::string::npos)
                continue;
            std::string value = line.substr(colon + 1);
            value.erase(0, value.find_first_not_of(" \t"));
            request.headers.emplace_back(line.substr(0, colon), value);
        }

        const std::string length = request.Header("Content-Length");
        if (!length.empty()) {
            const std::size_t wanted = std::min<std::size_t>(std::strtoull(length.c_str(), nullptr, 10),
                                                             kMaxRequestBody);
            idleMs = 0;
            while (pending_.size() < wanted)
                if (!Receive(idleMs))
                    return false;
            request.body = pending_.substr(0, wanted);
            pending_.erase(0, wanted);
        }
        return true;
    }

private:
    bool Receive(int& idleMs)
    {
        while (!state_.stopping && !closed_) {
            pollfd fd{};
            fd.fd = socket_;
            fd.events = POLLIN;
            const int ready = PollSockets(&fd, 1, kPollSliceMs);
            if (ready < 0)
                return false;
            if (ready == 0) {
                idleMs += kPollSliceMs;
                if (idleMs >= kIdleLimitMs)
                    return false;
                continue;
            }
            char buffer[8192];
            const auto n = ::recv(socket_, buffer, sizeof buffer, 0);
            if (n <= 0)
                return false;
            pending_.append(buffer, static_cast<std::size_t>(n));
            return true;
        }
        return false;
    }

    SocketHandle socket_;
    HttpTestServer::State& state_;
    std::string pending_;
    bool closed_ = false;
    bool reset_ = false;
};

} // namespace

void HttpTestServer::State::AcceptLoop()
{
    while (!stopping) {
        pollfd fd{};
        fd.fd = listener;
        fd.events = POLLIN;
        if (PollSockets(&fd, 1, kPollSliceMs) <= 0)
            continue;
        const SocketHandle client = ::accept(listener, nullptr, nullptr);
        if (client == kNoSocket)
            continue;
        std::lock_guard lock(mutex);
        if (stopping) {
            CloseSocket(client);
            break;
        }
        openSockets.insert(client);
        const int number = ++connections;
        workers.emplace_back([this, client, number] { ServeConnection(client, number); });
    }
}

void HttpTestServer::State::Forget(SocketHandle socket)
{
    std::lock_guard lock(mutex);
    openSockets.erase(socket);
}

void HttpTestServer::State::ServeConnection(SocketHandle socket, int number)
{
    Connection connection(socket, *this);
    HttpTestRequest request;
    while (!stopping && !connection.Closed() && connection.ReadRequest(request)) {
        request.connectionNumber = number;
        HttpTestHandler handler;
        {
            std::lock_guard lock(mutex);
            requests.push_back(request);
            const auto route = routes.find(request.path);
            handler = route != routes.end() ? route->second : fallback;
        }
        requestArrived.notify_all();
        if (handler)
            handler(request, connection);
        const bool closeAfter = request.version == "HTTP/1.0" || Lower(request.Header("Connection")) == "close";
        if (closeAfter)
            connection.Close();
        request = HttpTestRequest{};
    }
    if (connection.WasReset())
        return; // already closed and forgotten
    Forget(socket);
    ::shutdown(socket, kShutBoth);
    CloseSocket(socket);
}

HttpTestServer::HttpTestServer() : state_(std::make_shared<State>())
{
#ifdef _WIN32
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
#endif
    state_->listener = ::socket(AF_INET, SOCK_STREAM, 0);
    if (state_->listener == kNoSocket)
        throw std::runtime_error("test server: no socket");
    int yes = 1;
    ::setsockopt(state_->listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0; // the system picks a free port
    if (::bind(state_->listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(state_->listener, 64) != 0)
        throw std::runtime_error("test server: cannot listen on the loopback");
    socklen_t length = sizeof address;
    ::getsockname(state_->listener, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);

    state_->fallback = [](const HttpTestRequest& request, HttpTestConnection& connection) {
        const std::string page = "<html><body>404 Not Found</body></html>";
        connection.Send(request.method == "HEAD"
                            ? ResponseHead(404, "Not Found", {{"Content-Length", std::to_string(page.size())}})
                            : Response(404, "Not Found", page, {{"Content-Type", "text/html"}}));
    };
    state_->acceptor = std::thread([state = state_.get()] { state->AcceptLoop(); });
}

HttpTestServer::~HttpTestServer()
{
    state_->stopping = true;
    if (state_->acceptor.joinable())
        state_->acceptor.join();
    std::vector<std::thread> workers;
    {
        std::lock_guard lock(state_->mutex);
        for (const SocketHandle socket : state_->openSockets)
            ::shutdown(socket, kShutBoth); // unblocks a worker stuck in send or recv
        workers.swap(state_->workers);
    }
    for (auto& worker : workers)
        worker.join();
    CloseSocket(state_->listener);
}

std::string HttpTestServer::HostAndPort() const { return "127.0.0.1:" + std::to_string(port_); }

std::string HttpTestServer::Url(const std::string& path) const { return "http://" + HostAndPort() + path; }

void HttpTestServer::Route(const std::string& path, HttpTestHandler handler)
{
    std::lock_guard lock(state_->mutex);
    state_->routes[path] = std::move(handler);
}

void HttpTestServer::Serve(const std::string& path, const std::string& body, const HttpHeaders& headers, int status,
                           const std::string& reason)
{
    HttpHeaders all = headers;
    if (!HasHeaderNamed(all, "Content-Length"))
        all.emplace_back("Content-Length", std::to_string(body.size()));
    Route(path, [all, body, status, reason](const HttpTestRequest& request, HttpTestConnection& connection) {
        const std::string head = ResponseHead(status, reason, all);
        connection.Send(request.method == "HEAD" ? head : head + body);
    });
}

void HttpTestServer::ServeRaw(const std::string& path, const std::string& bytes)
{
    Route(path, [bytes](const HttpTestRequest&, HttpTestConnection& connection) {
        connection.Send(bytes);
        connection.Close();
    });
}

void HttpTestServer::SetFallback(HttpTestHandler handler)
{
    std::lock_guard lock(state_->mutex);
    state_->fallback = std::move(handler);
}

std::vector<HttpTestRequest> HttpTestServer::Requests() const
{
    std::lock_guard lock(state_->mutex);
    return state_->requests;
}

int HttpTestServer::RequestCount() const
{
    std::lock_guard lock(state_->mutex);
    return static_cast<int>(state_->requests.size());
}

int HttpTestServer::RequestCount(const std::string& path) const
{
    std::lock_guard lock(state_->mutex);
    return static_cast<int>(std::count_if(state_->requests.begin(), state_->requests.end(),
                                          [&](const HttpTestRequest& r) { return r.path == path; }));
}

int HttpTestServer::ConnectionCount() const
{
    std::lock_guard lock(state_->mutex);
    return state_->connections;
}

bool HttpTestServer::WaitForRequests(int count, int timeoutMs) const
{
    std::unique_lock lock(state_->mutex);
    return state_->requestArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                           [&] { return static_cast<int>(state_->requests.size()) >= count; });
}

std::string HttpTestServer::ResponseHead(int status, const std::string& reason, const HttpHeaders& headers)
{
    std::string head = "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
    for (const auto& [name, value] : headers)
        head += name + ": " + value + "\r\n";
    return head + "\r\n";
}

std::string HttpTestServer::Response(int status, const std::string& reason, const std::string& body,
                                     const HttpHeaders& headers)
{
    HttpHeaders all = headers;
    if (!HasHeaderNamed(all, "Content-Length"))
        all.emplace_back("Content-Length", std::to_string(body.size()));
    return ResponseHead(status, reason, all) + body;
}

} // namespace tollivex::test
