#pragma once
// The download component's state, shared by its parts (properties, the
// information request, the transfer).

#include "transfer/Download.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tollivex {

namespace platform {
class DiskFile;
class InternetSession;
class HeadRequest;
class UrlReader;
} // namespace platform

/// The user agent every request of the component announces.
inline constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 5.0; Windows NT; DigExt)";

struct Download::Impl {
    std::string Url;
    std::string LocalFile;
    float FileSize = 0;
    double AnnouncedSize = -1; // FileSize of the last request, exact
    std::int64_t BytesReceived = 0;
    std::int64_t ContinuedFrom = 0;
    std::shared_ptr<platform::DiskFile> Target; // the next transfer's file, set by the host
    bool MayContinue = false;
    int ResponseStatus = 0;
    std::string SiteUser;
    std::string SitePassword;
    bool FileExists = false;
    std::string LastModified;
    std::string RemoteFileName;
    std::string RemoteFileType;

    // Shared so that an operation keeps its session even when a handler that
    // runs nested inside it closes the component's.
    std::shared_ptr<platform::InternetSession> hSession;
    bool bCancel = false;
    bool bTransferring = false;
    bool bInfoRequested = false;
    bool bCloseSessionAfterInfo = false;
    bool bWholeFileRequired = true;

    void OpenSession();
    /// True when the running operation must end now: CancelDownload was
    /// called, or the host's StopWaiting answers true.
    bool MustStop(const Download& owner) const { return bCancel || (owner.StopWaiting && owner.StopWaiting()); }
    /// Whether an answer of this status is written and can complete (WholeFileRequired).
    bool TakesAnswer(int status) const;
    bool TransferFile(Download& owner);

    // The transfer's steps (TransferFile.cpp).
    struct Answer;
    std::shared_ptr<platform::InternetSession> SessionForTransfer(Download& owner);
    Answer OpenAnswer(platform::InternetSession& session, const std::function<bool()>& stop);
    bool PrepareTarget(const Answer& answer, bool recordVersion);
    bool ReceiveBody(Download& owner, Answer& answer, const std::function<bool()>& stop);
    bool CancelledBeforeData(Download& owner);
    /// Fills the results of an information request from its answer.
    void ReadInformation(const platform::HeadRequest& request);
};

} // namespace tollivex
