// The download component's properties, session and entry points.

#include "transfer/Download.h"

#include "platform/DiskFile.h"
#include "platform/internet/Internet.h"
#include "transfer/DownloadState.h"

namespace tollivex {

Download::Download() : impl_(std::make_unique<Impl>()) {}
Download::~Download() = default;

const std::string& Download::Url() const { return impl_->Url; }
void Download::SetUrl(const std::string& New_Url) { impl_->Url = New_Url; }
const std::string& Download::LocalFile() const { return impl_->LocalFile; }
void Download::SetLocalFile(const std::string& New_LocalFile) { impl_->LocalFile = New_LocalFile; }
float Download::FileSize() const { return impl_->FileSize; }
void Download::SetFileSize(float New_FileSize) { impl_->FileSize = New_FileSize; }
const std::string& Download::SiteUser() const { return impl_->SiteUser; }
void Download::SetSiteUser(const std::string& New_SiteUser) { impl_->SiteUser = New_SiteUser; }
const std::string& Download::SitePassword() const { return impl_->SitePassword; }
void Download::SetSitePassword(const std::string& New_SitePassword) { impl_->SitePassword = New_SitePassword; }

bool Download::FileExists() const { return impl_->FileExists; }
const std::string& Download::LastModified() const { return impl_->LastModified; }
const std::string& Download::RemoteFileName() const { return impl_->RemoteFileName; }
const std::string& Download::RemoteFileType() const { return impl_->RemoteFileType; }

bool Download::StartDownload()
{
    // Cleared on every way out, a throw from an event handler included.
    struct Mark {
        bool& flag;
        ~Mark() { flag = false; }
    } transferring{impl_->bTransferring};
    impl_->bTransferring = true;
    return impl_->TransferFile(*this);
}

bool Download::WholeFileRequired() const { return impl_->bWholeFileRequired; }
void Download::SetWholeFileRequired(bool required) { impl_->bWholeFileRequired = required; }

bool Download::Impl::TakesAnswer(int status) const
{
    return bWholeFileRequired ? status == 200 : status >= 200 && status < 400;
}

bool Download::Transferring() const { return impl_->bTransferring; }
double Download::AnnouncedSize() const { return impl_->AnnouncedSize; }
std::int64_t Download::BytesReceived() const { return impl_->BytesReceived; }
std::int64_t Download::ContinuedFrom() const { return impl_->ContinuedFrom; }

void Download::SetTargetFile(std::shared_ptr<platform::DiskFile> file, bool mayContinue)
{
    impl_->Target = std::move(file);
    impl_->MayContinue = mayContinue;
}
int Download::ResponseStatus() const { return impl_->ResponseStatus; }

void Download::CancelDownload() { impl_->bCancel = true; }

bool Download::SessionOpen() const { return impl_->hSession != nullptr; }

void Download::Impl::OpenSession()
{
    // Nothing on failure: the next operation tries again.
    hSession = platform::InternetSession::Open(kUserAgent);
}

} // namespace tollivex
