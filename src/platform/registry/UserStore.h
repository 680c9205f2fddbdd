#pragma once
// Where the registry lives on systems without one: a file registry.json in the
// user's configuration folder (~/.config/Tollivex on Linux).
//
// Reads never write. Every change re-reads the file under a lock, applies
// itself and replaces the file atomically, so two programs changing different
// values keep both and a crash never leaves half a file. A store file marked
// read-only opens for reading only. A file that cannot be read or understood
// counts as empty; it is moved aside as registry.json.corrupt-<time> and
// reported once on the standard error stream.
// On Windows these calls have no effect: the system's registry is used.

#include <string>

namespace tollivex::platform::registry {

/// The folder holding the store: the one set by SetStoreFolder, else the
/// environment variable TOLLIVEX_CONFIG_DIR, else the user's configuration
/// folder followed by "Tollivex".
std::string StoreFolder();

/// Points the store at another folder ("" restores the default); for tests.
void SetStoreFolder(const std::string& folder);

/// The store file inside StoreFolder().
std::string StoreFile();

} // namespace tollivex::platform::registry
