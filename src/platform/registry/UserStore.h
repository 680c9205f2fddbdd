#pragma once
// Where the registry lives on systems without one: a file registry.json in the
// user's configuration folder (~/.config/Tollivex on Linux), laid out as
// platform/registry/StoreDocument.h shows.
//
// Reads never write. Every change re-reads the file under a lock, applies
// itself and replaces the file atomically, so two programs changing different
// values keep both and a crash never leaves half a file. A store file marked
// read-only opens for reading only. A file that cannot be read or understood
// counts as empty; it is moved aside as registry.json.corrupt-<time> and
// reported once on the standard error stream. Names of keys and values match
// whatever the letter case of their ASCII letters.
// On Windows these calls have no effect: the system's registry is used.

#include <string>

namespace tollivex::platform::registry {

/// The folder holding the store: the user's configuration folder
/// (XDG_CONFIG_HOME when it is an absolute path, else ~/.config) followed by
/// "Tollivex", or the folder a test chose (platform/seams/TestSeams.h).
std::string StoreFolder();

/// The store file inside StoreFolder().
std::string StoreFile();

} // namespace tollivex::platform::registry
