// Placeholder bodies until the download component is built; replaced, then removed.
#include "transfer/Download.h"
namespace tollivex {
struct Download::Impl {
    std::string url, localFile, user, password, lastModified, remoteName, remoteType;
    float fileSize = 0;
    bool fileExists = false;
};
Download::Download() : impl_(std::make_unique<Impl>()) {}
Download::~Download() = default;
const std::string& Download::Url() const { return impl_->url; }
void Download::SetUrl(const std::string& v) { impl_->url = v; }
const std::string& Download::LocalFile() const { return impl_->localFile; }
void Download::SetLocalFile(const std::string& v) { impl_->localFile = v; }
float Download::FileSize() const { return impl_->fileSize; }
void Download::SetFileSize(float v) { impl_->fileSize = v; }
const std::string& Download::SiteUser() const { return impl_->user; }
void Download::SetSiteUser(const std::string& v) { impl_->user = v; }
const std::string& Download::SitePassword() const { return impl_->password; }
void Download::SetSitePassword(const std::string& v) { impl_->password = v; }
bool Download::FileExists() const { return impl_->fileExists; }
const std::string& Download::LastModified() const { return impl_->lastModified; }
const std::string& Download::RemoteFileName() const { return impl_->remoteName; }
const std::string& Download::RemoteFileType() const { return impl_->remoteType; }
void Download::RequestInformation() {}
bool Download::StartDownload() { return false; }
void Download::CancelDownload() {}
void SplitUrl(std::string&, std::string&) {}
std::string TrimAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }
bool IsConnected() { return false; }
} // namespace tollivex
