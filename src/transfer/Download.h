#pragma once
// The program's own HTTP download component: asks a server about a file
// (RequestInformation, a HEAD request) and fetches it into a local file in
// 2048-byte reads (StartDownload), raising its four events synchronously from
// inside the transfer. One instance on the main window serves the page fetch
// and the video download in turn.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tollivex {

namespace platform {
class DiskFile;
}

/// The extended attribute of a video's temporary file that holds the version
/// of the video its bytes belong to (the answer's ETag, else its Last-Modified),
/// so a later transfer continues it only when the server still has that version.
inline constexpr char kValidatorAttribute[] = "user.tollivex.validator";

class Download {
public:
    Download();
    ~Download();
    Download(const Download&) = delete;
    Download& operator=(const Download&) = delete;

    // Properties. Setters store the value and do nothing else.
    const std::string& Url() const;
    void SetUrl(const std::string& New_Url);
    const std::string& LocalFile() const;
    void SetLocalFile(const std::string& New_LocalFile);
    float FileSize() const;
    void SetFileSize(float New_FileSize);
    const std::string& SiteUser() const;
    void SetSiteUser(const std::string& New_SiteUser);
    const std::string& SitePassword() const;
    void SetSitePassword(const std::string& New_SitePassword);

    // Results of the last information request (read-only).
    bool FileExists() const;
    const std::string& LastModified() const;
    const std::string& RemoteFileName() const;
    const std::string& RemoteFileType() const;

    /// The file the next transfer writes, opened by the host (created new, or
    /// an earlier attempt's own file): that transfer writes only through it and
    /// never opens LocalFile by name. Without one, a transfer makes LocalFile
    /// itself when the answer arrives, never through a link. When
    /// `mayContinue`, the bytes the file holds are continued where the server
    /// still has their version (a range request with the validator); whenever
    /// the server sends the whole file instead, the file starts over from byte 0.
    void SetTargetFile(std::shared_ptr<platform::DiskFile> file, bool mayContinue);

    /// One HEAD request for Url; fills the five results.
    void RequestInformation();
    /// Fetches Url into LocalFile; true only when the whole file arrived.
    bool StartDownload();
    /// Asks a running transfer to stop after its next progress event.
    void CancelDownload();
    /// What a transfer takes as its answer. Required (the default, for a video):
    /// only a 200 answer, and only a body of its own Content-Length, completes;
    /// anything else is an error. Not required (for a page): any answer below
    /// 400 is the page as the server gives it, an empty or partial one too.
    bool WholeFileRequired() const;
    void SetWholeFileRequired(bool required);
    /// True while StartDownload runs, that is while LocalFile is being written.
    bool Transferring() const;
    /// The size the last information request announced, exact (FileSize is a
    /// 32-bit float and rounds sizes past 16 MiB); -1 when none was given.
    double AnnouncedSize() const;
    /// The bytes LocalFile holds after the last transfer: those kept from an
    /// earlier attempt and those received.
    std::int64_t BytesReceived() const;
    /// The bytes kept from an earlier attempt that the last transfer continued; 0 when it started over.
    std::int64_t ContinuedFrom() const;
    /// The status code the server answered the last transfer with; 0 when no answer came.
    int ResponseStatus() const;

    /// True while the component holds an internet session (kept between
    /// operations; every transfer that reaches an end closes it).
    bool SessionOpen() const;

    /// Asked by every wait of the component (connecting, the information
    /// request, the answer to a transfer's request, each read) after each turn
    /// of the window's events. Once it answers true the wait ends at once and
    /// nothing more is asked of the server: a transfer ends as cancelled, an
    /// information request without results. The host answers true once a stop
    /// is confirmed or the program is ending, so neither waits for a silent
    /// server.
    std::function<bool()> StopWaiting;

    // Events, raised on the caller's thread from inside StartDownload.
    std::function<void()> DownloadComplete;
    std::function<void(std::int32_t& lProgress)> DownloadProgress;
    std::function<void(std::string& sErrorDescription)> DownloadError;
    std::function<void(std::int32_t& lPosition)> DownloadCancelled;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

/// The texts DownloadError carries: the address cannot be opened (or answers
/// with an error status), the data broke off, the local file cannot be written.
inline constexpr char kCouldNotFindUrl[] = "Could not find Url";
inline constexpr char kCouldNotReadUrl[] = "Could not read URL";
inline constexpr char kCouldNotWriteFile[] = "Could not write file";

/// Splits an address into host (left in `address`) and path (from the first
/// "/" on; left unchanged when there is none). A leading "http://" in any
/// case is removed first.
void SplitUrl(std::string& address, std::string& path);

/// Removes a leading "https://" (any case) from an address and returns true;
/// returns false and leaves any other address as it is. The information
/// request asks a secure link's server over https, before SplitUrl.
bool TakeSecureScheme(std::string& address);

/// The text before the first NUL character.
std::string TrimAtNul(const std::string& text);

/// True when the system reports an internet connection.
bool IsConnected();

} // namespace tollivex
