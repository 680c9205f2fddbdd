#pragma once
// The registry as the settings code sees it: the few calls of the Windows
// registry's ANSI interface, with their error codes. On Windows they are the
// system's own registry; elsewhere a per-user store file keeps the same key,
// value and type rules (see UserStore.h for where it lives).

#include <cstdint>
#include <string>

namespace tollivex::platform::registry {

/// Predefined root keys, as the Windows headers number them.
using Root = std::uint32_t;
constexpr Root HKeyClassesRoot = 0x80000000u;
constexpr Root HKeyCurrentUser = 0x80000001u;
constexpr Root HKeyLocalMachine = 0x80000002u;
constexpr Root HKeyUsers = 0x80000003u;

/// Access masks.
constexpr std::uint32_t KeyAllAccess = 0xF003Fu;
constexpr std::uint32_t KeyRead = 0x20019u;

/// Error codes, as the Windows registry returns them.
using Status = long;
constexpr Status ErrorSuccess = 0;
constexpr Status ErrorFileNotFound = 2;
constexpr Status ErrorAccessDenied = 5;
constexpr Status ErrorInvalidHandle = 6;
constexpr Status ErrorWriteFault = 29;
constexpr Status ErrorBadPathname = 161;
constexpr Status ErrorMoreData = 234;
constexpr Status ErrorKeyDeleted = 1018;

/// An open key; released with CloseKey by whoever opened it.
struct KeyObject;
using KeyHandle = KeyObject*;

/// Opens root\subKey ("" is the root itself). Fails with ErrorFileNotFound
/// when the key does not exist, ErrorAccessDenied when the access asked for is
/// refused.
Status OpenKey(Root root, const std::string& subKey, std::uint32_t access, KeyHandle& key);

/// Opens root\subKey, creating it and every missing parent first.
Status CreateKey(Root root, const std::string& subKey, std::uint32_t access, KeyHandle& key);

/// Reads a value ("" names the key's default value). The size counts the
/// stored bytes, the terminating NUL of a text included. With no buffer only
/// the size is reported; with a buffer, up to `size` bytes are copied and
/// ErrorMoreData says the buffer was too small.
Status QueryValue(KeyHandle key, const std::string& name, char* buffer, std::uint32_t& size);

/// Writes a text value (REG_SZ), stored with its terminating NUL.
Status SetTextValue(KeyHandle key, const std::string& name, const std::string& text);

Status DeleteValue(KeyHandle key, const std::string& name);

/// Deletes root\subKey; a key that still has subkeys is not deleted.
Status DeleteKey(Root root, const std::string& subKey);

void CloseKey(KeyHandle key);

} // namespace tollivex::platform::registry
