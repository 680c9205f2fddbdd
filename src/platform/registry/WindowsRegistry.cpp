// The system's registry, through its ANSI calls.
#ifdef _WIN32

#include "platform/registry/Registry.h"
#include "platform/registry/UserStore.h"
#include "platform/seams/SeamHooks.h"

#include <map>

#include <windows.h>

namespace tollivex::platform::registry {

struct KeyObject {
    HKEY key = nullptr;
};

namespace {

/// The predefined key; for the current user, when a test chose a store of its
/// own (platform/seams/TestSeams.h), a key of that name in the user's
/// "Software\Tollivex test stores" instead, so that tests never meet each
/// other's values nor the user's.
HKEY RootKey(Root root)
{
    const HKEY predefined = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    const std::string store = root == HKeyCurrentUser ? seams::StoreFolder() : std::string();
    if (store.empty())
        return predefined;
    static std::map<std::string, HKEY> opened; // open for the process's life
    HKEY& key = opened[store];
    if (!key) {
        std::string name = store;
        for (char& c : name)
            if (c == '\\')
                c = '/'; // a key's name holds no backslash
        name = "Software\\Tollivex test stores\\" + name;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            key = nullptr;
    }
    return key ? key : predefined;
}

const char* ValueName(const std::string& name) { return name.empty() ? nullptr : name.c_str(); }

} // namespace

std::string StoreFolder() { return {}; }
std::string StoreFile() { return {}; }

Status OpenKey(Root root, const std::string& subKey, std::uint32_t access, KeyHandle& key)
{
    key = nullptr;
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(RootKey(root), subKey.c_str(), 0, access, &opened);
    if (status == ERROR_SUCCESS)
        key = new KeyObject{opened};
    return status;
}

Status CreateKey(Root root, const std::string& subKey, std::uint32_t access, KeyHandle& key)
{
    key = nullptr;
    HKEY created = nullptr;
    DWORD disposition = 0;
    const LONG status = RegCreateKeyExA(RootKey(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                        nullptr, &created, &disposition);
    if (status == ERROR_SUCCESS)
        key = new KeyObject{created};
    return status;
}

Status QueryValue(KeyHandle key, const std::string& name, char* buffer, std::uint32_t& size)
{
    if (!key)
        return ErrorInvalidHandle;
    DWORD bytes = buffer ? size : 0;
    const LONG status = RegQueryValueExA(key->key, ValueName(name), nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer),
                                         &bytes);
    size = bytes;
    return status;
}

Status SetTextValue(KeyHandle key, const std::string& name, const std::string& text)
{
    if (!key)
        return ErrorInvalidHandle;
    return RegSetValueExA(key->key, ValueName(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

Status DeleteValue(KeyHandle key, const std::string& name)
{
    if (!key)
        return ErrorInvalidHandle;
    return RegDeleteValueA(key->key, ValueName(name));
}

Status DeleteKey(Root root, const std::string& subKey) { return RegDeleteKeyA(RootKey(root), subKey.c_str()); }

void CloseKey(KeyHandle key)
{
    if (!key)
        return;
    RegCloseKey(key->key);
    delete key;
}

} // namespace tollivex::platform::registry

#endif // _WIN32
