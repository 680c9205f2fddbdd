#pragma once
// The rules a file name typed into the grid must keep: it fits the table's
// FileName column and names no file another queued item is saved under.

#include <cstddef>
#include <string>

namespace tollivex {

/// The FileName column holds this many characters.
inline constexpr size_t kFileNameColumnLength = 100;

/// The name cut to `limit` characters (UTF-8 aware), keeping its extension
/// when the extension is short enough to leave a name in front of it.
std::string FitFileNameColumn(const std::string& name, size_t limit = kFileNameColumnLength);

/// Whether two local names denote the same file in one folder: without regard
/// to letter case on Windows, exactly elsewhere.
bool SameLocalFile(const std::string& a, const std::string& b);

/// True when a queued item other than the one at `exceptIndex` is saved under
/// `name` (items that still carry a placeholder name are not saved yet).
bool FileNameTakenInQueue(const std::string& name, int exceptIndex);

} // namespace tollivex
