#pragma once
// A file the program writes through one open descriptor: created new (never
// over anything that is there, never through a link), or an existing regular
// file opened without following a link. Whatever later appears at its name
// (a link planted in a shared folder, say) is never written: the descriptor
// keeps pointing at the file that was checked. Extended attributes are read
// and written on the descriptor too.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tollivex::platform {

/// How an exclusive creation ended.
enum class CreateOutcome {
    Created,
    Taken,  // something (a file, a link, a folder) is there already
    Failed, // the folder cannot be written
};

class DiskFile {
public:
    /// Creates `path` new, empty and writable. Nothing, with the outcome, when
    /// anything is there already or the file cannot be made.
    static std::unique_ptr<DiskFile> CreateNew(const std::string& path, CreateOutcome* outcome = nullptr);
    /// Opens the regular file at `path` for reading and writing, as it is.
    /// Nothing when a link, a folder or anything else but a regular file is there.
    static std::unique_ptr<DiskFile> OpenRegular(const std::string& path);

    ~DiskFile();
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    const std::string& Path() const { return path_; }

    /// The file's size in bytes; -1 when it cannot be read.
    std::int64_t Size() const;
    /// Cuts the file to `size` bytes; the next write goes after them.
    bool Truncate(std::int64_t size);
    /// Writes after everything written (or kept) so far. False on any error
    /// (a full disk included); the file then holds an unknown part of them.
    bool Append(const char* bytes, std::size_t count);
    /// Puts the file's data on the disk itself. Slow on slow disks: callers
    /// off the window thread only (it is safe from another thread).
    bool Sync();
    /// Starts writing the data so far to the disk without waiting for it, so
    /// a later Sync has little left to do. A hint; may do nothing.
    void StartWriteBack();

    /// An extended attribute of the file; nothing when it has none of that
    /// name or the file system keeps none.
    std::optional<std::string> Attribute(const std::string& name) const;
    /// False when the file system keeps no extended attributes.
    bool SetAttribute(const std::string& name, const std::string& value);

    /// True while the file is still the entry at Path() (not renamed, removed
    /// or replaced since it was opened).
    bool StillAtPath() const;
    /// Removes the entry at Path() when it is still this file; true when removed.
    bool RemoveIfStillAtPath();
    /// Notes that the file now stands at `path` (after a rename of ours).
    void MovedTo(const std::string& path) { path_ = path; }

private:
    DiskFile(int descriptor, std::string path);
    int fd_;
    std::string path_;
};

} // namespace tollivex::platform
