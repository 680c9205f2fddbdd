#pragma once
// The file-system operations the system needs, on std::filesystem and the
// system's own calls, plus the program folder where the movie, the help page,
// the watcher and the scratch page file are found.

#include <cstddef>
#include <optional>
#include <string>

namespace tollivex::platform {

/// The platform's separator between a folder and a name ("\" on Windows, "/" elsewhere).
char PathSeparator();

/// folder + separator + name; no separator is doubled when the folder ends in one.
std::string JoinPath(const std::string& folder, const std::string& name);

bool FolderExists(const std::string& path);
/// Creates the folder and any missing parents; true when it exists afterwards.
bool CreateFolder(const std::string& path);
/// True when something that is not a folder exists at the path (a file or a link).
bool FileExists(const std::string& path);
/// Deletes a regular file or a link, read-only ones included. Never removes a
/// folder: a folder (or nothing) at the path gives false.
bool DeleteRegularFile(const std::string& path);
/// Renames the file `from` to `to` in one step, replacing what is at `to`
/// (never a folder): at every moment `to` is either the old file whole or the
/// new one whole. The rename's own result decides; no permission is changed.
/// False when the rename failed; `from` then stays as it was. For a power cut
/// to leave no empty file under `to`, the data of `from` must be on the disk
/// before (DiskFile::Sync) and the folder synced after (SyncFolder).
bool ReplaceFile(const std::string& from, const std::string& to);

/// How a rename that must not replace anything ended.
enum class RenameOutcome { Renamed, Taken, Failed };
/// Renames `from` to `to` only when nothing is at `to` (nothing that appears
/// there meanwhile is replaced either). A name the disk treats as the same
/// (another letter case on a folder that ignores it) counts as taken.
RenameOutcome RenameWithoutReplacing(const std::string& from, const std::string& to);

/// What stands at a path, without following a link.
enum class EntryKind { None, RegularFile, Link, Folder, Other };
EntryKind EntryAt(const std::string& path);

/// An extended attribute of the regular file at `path` (a link is never
/// followed); nothing when there is none or the file system keeps none.
std::optional<std::string> AttributeAt(const std::string& path, const std::string& name);

/// Puts a folder's entries (a rename into it) on the disk itself.
void SyncFolder(const std::string& path);

/// The longest file name, in bytes, that the file systems the program meets take.
inline constexpr std::size_t kMaxNameBytes = 255;
/// The whole content of a file as bytes, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);
/// True when a file can be created in the folder (it is probed and removed).
bool FolderIsWritable(const std::string& path);

/// Folder of the program's executable, links resolved (or the folder a test
/// chose, platform/seams/TestSeams.h).
std::string ProgramFolder();

/// Where scratch files go: the program folder when it is writable (a copy run
/// from its build folder), else the program's own folder in the user's cache
/// folder (an installed copy): Harrowmere/Tollivex under XDG_CACHE_HOME or
/// ~/.cache, on Windows under the local application data folder.
std::string ScratchFolder();

/// The user's home folder (HOME; USERPROFILE on Windows).
std::string HomeFolder();

} // namespace tollivex::platform
