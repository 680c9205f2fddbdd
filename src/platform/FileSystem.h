#pragma once
// The file-system operations the system needs, on std::filesystem, plus the
// program folder where the movie, the help page, the watcher and the scratch
// page file are found.

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
/// Renames the file `from` to `to` in one step, replacing a file (read-only
/// ones included) or a link at `to`: at every moment `to` is either the old
/// file whole or the new one whole, also after a power cut (the data reaches
/// the disk before the rename). Never replaces a folder. False when the
/// rename failed; `from` then stays as it was.
bool ReplaceFile(const std::string& from, const std::string& to);
/// The whole content of a file as bytes, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);
/// True when a file can be created in the folder (it is probed and removed).
bool FolderIsWritable(const std::string& path);

/// Folder of the program's executable (or the folder set for tests).
std::string ProgramFolder();
/// Points ProgramFolder() elsewhere (tests run several programs side by side).
void SetProgramFolder(const std::string& folder);

/// Where scratch files go: the program folder when it is writable (a copy run
/// from its build folder), else the per-user cache folder (an installed copy).
std::string ScratchFolder();

/// The user's home folder.
std::string HomeFolder();

} // namespace tollivex::platform
