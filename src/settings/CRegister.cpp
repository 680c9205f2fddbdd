#include "settings/CRegister.h"

#include "platform/registry/Registry.h"

#include <vector>

namespace tollivex {

namespace reg = platform::registry;

namespace {

/// Closes the key however the operation ends.
class OpenedKey {
public:
    OpenedKey() = default;
    ~OpenedKey() { reg::CloseKey(handle); }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    reg::KeyHandle handle = nullptr;
};

/// "*" names the key's default (unnamed) value.
std::string ValueName(const std::string& key) { return key == "*" ? std::string() : key; }

} // namespace

bool CRegister::REGDeleteSetting(std::uint32_t root, const std::string& section, const std::string& key)
{
    try {
        if (key.empty())
            return reg::DeleteKey(root, section) == reg::ErrorSuccess;
        OpenedKey opened;
        if (reg::OpenKey(root, StripKeySlashes(section), reg::KeyAllAccess, opened.handle) != reg::ErrorSuccess)
            return false;
        return reg::DeleteValue(opened.handle, ValueName(key)) == reg::ErrorSuccess;
    } catch (...) {
        return false;
    }
}

std::string CRegister::REGGetSetting(std::uint32_t root, const std::string& section, const std::string& key,
                                     const std::string& defaultValue)
{
    std::string result = defaultValue;
    try {
        const std::string path = StripKeySlashes(section);
        OpenedKey opened;
        reg::Status status = reg::OpenKey(root, path, reg::KeyAllAccess, opened.handle);
        if (status == reg::ErrorAccessDenied)
            status = reg::OpenKey(root, path, reg::KeyRead, opened.handle);
        if (status != reg::ErrorSuccess)
            return defaultValue;
        const std::string name = ValueName(key);
        std::uint32_t size = 0;
        if (reg::QueryValue(opened.handle, name, nullptr, size) != reg::ErrorSuccess || size == 0)
            return result;
        std::vector<char> buffer(size);
        if (reg::QueryValue(opened.handle, name, buffer.data(), size) == reg::ErrorSuccess && size > 0)
            result.assign(buffer.data(), size - 1);
    } catch (...) {
        return defaultValue;
    }
    return result;
}

bool CRegister::REGSaveSetting(std::uint32_t root, const std::string& section, const std::string& key,
                               const std::string& value)
{
    try {
        OpenedKey opened;
        if (reg::CreateKey(root, StripKeySlashes(section), reg::KeyAllAccess, opened.handle) != reg::ErrorSuccess)
            return false;
        return reg::SetTextValue(opened.handle, ValueName(key), value) == reg::ErrorSuccess;
    } catch (...) {
        return false;
    }
}

std::string CRegister::StripKeySlashes(const std::string& path)
{
    std::string stripped = path;
    if (!stripped.empty() && stripped.front() == '\\')
        stripped.erase(0, 1);
    if (!stripped.empty() && stripped.back() == '\\')
        stripped.pop_back();
    return stripped;
}

} // namespace tollivex
