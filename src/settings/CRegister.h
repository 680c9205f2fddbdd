#pragma once
// Reads, writes and deletes text values in the registry. It knows nothing of
// the program's settings: the caller names the root, the key path (the
// "section"), the value name (the "key", "*" for the key's default value) and,
// for reads, a default. Holds no state: every call opens and closes its own key.

#include <cstdint>
#include <string>

namespace tollivex {

class CRegister {
public:
    /// True when the value (key not empty) or the key named by `section`
    /// exactly as given (key empty; it must have no subkeys) was deleted.
    bool REGDeleteSetting(std::uint32_t root, const std::string& section, const std::string& key);

    /// The stored text, or `defaultValue` when the key or value is missing, the
    /// stored value is of size 0, or access is refused. An empty stored text is
    /// returned as it is. Reading never creates anything.
    std::string REGGetSetting(std::uint32_t root, const std::string& section, const std::string& key,
                              const std::string& defaultValue);

    /// Writes the text, creating the whole key path when needed; true when written.
    bool REGSaveSetting(std::uint32_t root, const std::string& section, const std::string& key,
                        const std::string& value);

    /// The path without one leading and one trailing backslash.
    std::string StripKeySlashes(const std::string& path);
};

} // namespace tollivex
