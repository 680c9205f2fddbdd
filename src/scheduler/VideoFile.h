#pragma once
// How a video reaches its final name on the disk, and how the program knows
// its own files. The names themselves follow FileNames.h.
//
// A video is written under a temporary name beside its final one, judged
// whole, and only then renamed to the final name in one step, so a partial
// file never carries a video's name, not even after a kill.
//
// The program knows its own files by what is on the disk, across restarts:
// every file it makes records where the video came from as extended
// attributes (the desktop's convention for downloads). A file is an item's
// own copy when it is a regular file whose page address attribute names the
// item's page address, the queue's key. Nothing else in the download folder
// (the user's files, files without attributes, another item's video, a link,
// a folder) is ever written into, truncated, followed, replaced or deleted:
// the video moves aside instead. Where the folder keeps no attributes, no
// file is anyone's own copy, and every video moves aside of what is there.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tollivex {

namespace platform {
class DiskFile;
}

/// The video's address and the page's address, kept with the file.
inline constexpr char kVideoAddressAttribute[] = "user.xdg.origin.url";
inline constexpr char kPageAddressAttribute[] = "user.xdg.referrer.url";

/// True when the regular file at `path` is the copy of the item of `pageAddress`.
bool IsOwnCopy(const std::string& path, const std::string& pageAddress);

/// The item's temporary file, open for writing.
struct PartFile {
    std::shared_ptr<platform::DiskFile> file;
    /// An earlier attempt's own file, kept as it was; else a new empty one.
    bool earlier = false;
};

/// Opens the temporary file of the item of `pageAddress` for the final `name`
/// in `folder`: the first of PartNameFor(name, 0), (name, 1), ... that is the
/// item's own (opened as it is, never through a link) or free (created new,
/// exclusively, with the origin attributes). Entries that are not the item's
/// own are passed over and left alone. Nothing when the folder cannot be written.
std::optional<PartFile> OpenPartFile(const std::string& folder, const std::string& name, const std::string& pageAddress,
                                     const std::string& videoAddress);

/// The name the video of the item at `index` will be published under: the
/// first of NameBeside(name, 1), (name, 2), ... that is free on the disk or the
/// item's own copy and, beside the name itself, no other queued item's name.
std::string ChooseFinalName(const std::string& folder, const std::string& name, const std::string& pageAddress,
                            int index);

/// Publishes the finished temporary file `part` under the first name that
/// ChooseFinalName would give now, taken without replacing anything but the
/// item's own copy (a name that is taken meanwhile is passed over). The name
/// used; nothing when the temporary file is no longer where it was written
/// or the rename failed, and the data then stays under the temporary name.
std::optional<std::string> PublishVideo(platform::DiskFile& part, const std::string& folder, const std::string& name,
                                        const std::string& pageAddress, int index);

/// True when the bytes received are the whole video the information request
/// announced: equal to its size when it gave one above 0.
bool ReceivedWhatWasAnnounced(std::int64_t bytesReceived, double announcedSize);

/// Notes that the video of the item of `pageAddress` was published at
/// `finalPath`, for as long as the program runs: "Open" finds the file there
/// whatever the item is called in the list now.
void NotePublished(const std::string& finalPath, const std::string& pageAddress);
/// Where the video of the item of `pageAddress` was last published; "" when it was not.
std::string PublishedFor(const std::string& pageAddress);

} // namespace tollivex
