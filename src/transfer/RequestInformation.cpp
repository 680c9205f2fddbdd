// The information request: one HEAD request that tells whether the remote file
// exists, its size, date, name and type.

#include "platform/EventLoop.h"
#include "platform/internet/Internet.h"
#include "transfer/Download.h"
#include "transfer/DownloadState.h"
#include "transfer/HeaderBlock.h"

#include <optional>

namespace tollivex {

namespace {
// The header block must fit this buffer; a longer one is read through the
// status code alone.
constexpr std::size_t kHeaderBufferSize = 1024;
constexpr char kRequestVersion[] = "HTTP/1.0";
constexpr char kWholeFileStatus[] = "200";
} // namespace

void Download::Impl::ReadInformation(const platform::HeadRequest& request)
{
    platform::DoEvents();
    const auto status = request.QueryStatusCode();
    const bool whole = status && TrimAtNul(*status) == kWholeFileStatus;
    std::string buffer(kHeaderBufferSize, ' ');
    std::size_t length = buffer.size();
    if (request.QueryRawHeaders(buffer.data(), length)) {
        const HeaderInformation info = ParseHeaderBlock(std::string_view(buffer).substr(0, length));
        LastModified = info.LastModified;
        RemoteFileName = info.RemoteFileName;
        RemoteFileType = info.RemoteFileType;
        FileExists = info.FileExists;
    } else {
        FileExists = whole;
        LastModified = "Not Available";
    }
    // The size is the file's only when the answer is about the file itself:
    // an error page's length (a refused HEAD) is not the video's. It is read
    // whatever the header block's length.
    const auto size = whole ? request.ContentLength() : std::nullopt;
    AnnouncedSize = size ? static_cast<double>(*size) : -1;
    FileSize = static_cast<float>(AnnouncedSize);
}

void Download::RequestInformation()
{
    Impl& d = *impl_;
    d.bInfoRequested = true;
    // Results always describe this request, never an earlier one.
    d.RemoteFileName.clear();
    d.RemoteFileType.clear();
    d.FileSize = -1;
    d.AnnouncedSize = -1;
    d.FileExists = false;
    d.LastModified = "Not Available";

    // The request goes to the link's own scheme, host and port.
    std::string host = d.Url;
    std::string path;
    const bool secure = TakeSecureScheme(host);
    SplitUrl(host, path);
    platform::DoEvents();

    if (!d.hSession)
        d.OpenSession();
    std::shared_ptr<platform::InternetSession> session = d.hSession;
    platform::DoEvents();

    // A cancel of the transfer this request serves, or a stop or close the
    // host confirmed: the request is not sent, or its wait ends at once.
    const auto stop = [this, &d] { return (d.bTransferring && d.bCancel) || (StopWaiting && StopWaiting()); };
    if (session && !stop()) {
        std::optional<std::string> user;
        std::optional<std::string> password;
        if (!d.SiteUser.empty()) {
            user = d.SiteUser;
            password = d.SitePassword;
        }
        auto connection = session->Connect(host, user, password, secure);
        platform::DoEvents();
        auto request = connection ? connection->OpenHeadRequest(path, kRequestVersion) : nullptr;
        platform::DoEvents();
        if (request) {
            request->Send(stop);
            d.ReadInformation(*request);
        }
    }

    if (d.bCloseSessionAfterInfo)
        d.hSession.reset();
}

} // namespace tollivex
