#include "platform/internet/Internet.h"

#include "platform/internet/CurlTransfer.h"
#include "platform/internet/HttpText.h"

namespace tollivex::platform {

using internet::CurlMulti;
using internet::CurlTransfer;
using internet::TransferOptions;

struct InternetSession::Impl {
    std::shared_ptr<CurlMulti> multi;
    std::string userAgent;
};

struct HttpConnection::Impl {
    std::shared_ptr<InternetSession::Impl> session;
    std::string host; // without the port
    int port = 80;
    bool secure = false;
    bool usable = true; // false: the host text names no valid port
    std::optional<std::string> user;
    std::optional<std::string> password;
};

struct HeadRequest::Impl {
    std::unique_ptr<CurlTransfer> transfer;
    bool usable = true;
    bool sent = false;
};

struct UrlReader::Impl {
    std::unique_ptr<CurlTransfer> transfer;
};

// ---- Session -------------------------------------------------------------

InternetSession::InternetSession(std::shared_ptr<Impl> impl) : impl_(std::move(impl)) {}
InternetSession::~InternetSession() = default;

std::unique_ptr<InternetSession> InternetSession::Open(const std::string& userAgent)
{
    auto impl = std::make_shared<Impl>();
    impl->multi = std::make_shared<CurlMulti>();
    if (!impl->multi->Handle())
        return nullptr;
    impl->userAgent = userAgent;
    return std::unique_ptr<InternetSession>(new InternetSession(std::move(impl)));
}

std::unique_ptr<HttpConnection> InternetSession::Connect(const std::string& host,
                                                         const std::optional<std::string>& user,
                                                         const std::optional<std::string>& password, bool secure)
{
    if (host.empty())
        return nullptr;
    auto impl = std::make_unique<HttpConnection::Impl>();
    impl->session = impl_;
    impl->user = user;
    impl->password = password;
    impl->host = host;
    impl->secure = secure;
    impl->port = secure ? 443 : 80;
    // "host:port" connects to that port; a colon followed by anything but a
    // port number ("https:") names no server the request could reach.
    const auto colon = host.rfind(':');
    if (colon != std::string::npos) {
        impl->host = host.substr(0, colon);
        const auto port = PortNumber(std::string_view(host).substr(colon + 1));
        impl->port = port.value_or(0);
        impl->usable = port.has_value() && !impl->host.empty();
    }
    for (const char c : impl->host) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7f || c == '/' || c == '@' || c == '?' || c == '#' || c == '\\')
            impl->usable = false;
    }
    return std::unique_ptr<HttpConnection>(new HttpConnection(std::move(impl)));
}

std::unique_ptr<UrlReader> InternetSession::OpenUrl(const std::string& url, const std::function<bool()>& giveUp,
                                                    const std::vector<std::string>& headers)
{
    TransferOptions options;
    options.url = url;
    options.headers = headers;
    options.userAgent = impl_->userAgent;
    options.keepBody = true;
    auto transfer = std::make_unique<CurlTransfer>(impl_->multi, options);
    if (!transfer->Valid())
        return nullptr;
    transfer->Start();
    if (!transfer->RunToBody(giveUp))
        return nullptr;
    // No answer at all: the address cannot be opened.
    if (transfer->Finished() && transfer->Result() != CURLE_OK && transfer->StatusCode() == 0)
        return nullptr;
    auto impl = std::make_unique<UrlReader::Impl>();
    impl->transfer = std::move(transfer);
    return std::unique_ptr<UrlReader>(new UrlReader(std::move(impl)));
}

// ---- Connection ----------------------------------------------------------

HttpConnection::HttpConnection(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
HttpConnection::~HttpConnection() = default;

std::unique_ptr<HeadRequest> HttpConnection::OpenHeadRequest(const std::string& path, const std::string& version)
{
    TransferOptions options;
    options.url = (impl_->secure ? "https://" : "http://") + impl_->host + ":" + std::to_string(impl_->port) + path;
    options.userAgent = impl_->session->userAgent;
    options.head = true;
    options.http10 = version == "HTTP/1.0";
    if (impl_->user) {
        options.user = &*impl_->user;
        options.password = impl_->password ? &*impl_->password : nullptr;
    }
    auto impl = std::make_unique<HeadRequest::Impl>();
    impl->transfer = std::make_unique<CurlTransfer>(impl_->session->multi, options);
    if (!impl->transfer->Valid())
        return nullptr;
    impl->usable = impl_->usable;
    return std::unique_ptr<HeadRequest>(new HeadRequest(std::move(impl)));
}

// ---- HEAD request --------------------------------------------------------

HeadRequest::HeadRequest(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
HeadRequest::~HeadRequest() = default;

bool HeadRequest::Send(const std::function<bool()>& giveUp)
{
    if (!impl_->usable || impl_->sent || !impl_->transfer)
        return false;
    impl_->sent = true;
    impl_->transfer->Start();
    if (!impl_->transfer->RunToEnd(giveUp)) {
        // Abandoned: nothing of a half-received answer is reported.
        impl_->transfer.reset();
        impl_->sent = false;
        return false;
    }
    return impl_->transfer->Result() == CURLE_OK;
}

bool HeadRequest::QueryRawHeaders(char* buffer, std::size_t& length) const
{
    if (!impl_->transfer) {
        length = 1;
        return false;
    }
    const CurlTransfer& transfer = *impl_->transfer;
    if (!impl_->sent || !transfer.HeadersComplete() || transfer.HeaderOverflow()) {
        length = transfer.HeaderBlock().size() + 1;
        return false;
    }
    const std::string& block = transfer.HeaderBlock();
    if (block.size() + 1 > length) {
        length = block.size() + 1;
        return false;
    }
    block.copy(buffer, block.size());
    buffer[block.size()] = '\0';
    length = block.size();
    return true;
}

std::optional<std::string> HeadRequest::QueryStatusCode() const
{
    if (!impl_->sent || !impl_->transfer)
        return std::nullopt;
    const long code = impl_->transfer->StatusCode();
    if (code <= 0)
        return std::nullopt;
    return std::to_string(code);
}

std::optional<std::int64_t> HeadRequest::ContentLength() const
{
    if (!impl_->sent || !impl_->transfer)
        return std::nullopt;
    const auto value = impl_->transfer->Header("Content-Length");
    return value ? PlainLength(*value) : std::nullopt;
}

// ---- URL reader ----------------------------------------------------------

UrlReader::UrlReader(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
UrlReader::~UrlReader() = default;

int UrlReader::StatusCode() const { return static_cast<int>(impl_->transfer->StatusCode()); }

std::int64_t UrlReader::ContentLength() const { return impl_->transfer->ContentLength(); }

std::optional<std::string> UrlReader::Header(const std::string& name) const { return impl_->transfer->Header(name); }

bool UrlReader::Read(char* buffer, std::size_t wanted, std::size_t& got, const std::function<bool()>& giveUp)
{
    return impl_->transfer->ReadBody(buffer, wanted, got, giveUp);
}

} // namespace tollivex::platform
