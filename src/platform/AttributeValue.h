#pragma once
// Reading an extended attribute whole, by a file's path or its descriptor:
// the size is asked first, and asked again if the value grew meanwhile.
// Only the platform's own sources on Linux include it.

#include <cerrno>
#include <optional>
#include <string>
#include <sys/types.h>

namespace tollivex::platform {

/// `get(buffer, size)` is getxattr's call for one file and name (a null
/// buffer asks for the size). Nothing when the file has no such attribute or
/// its file system keeps none.
template <typename Get>
std::optional<std::string> AttributeValue(Get get)
{
    for (;;) {
        const ssize_t size = get(nullptr, 0);
        if (size < 0)
            return std::nullopt;
        std::string value(static_cast<std::size_t>(size), '\0');
        const ssize_t got = get(value.data(), value.size());
        if (got >= 0 && got <= size) {
            value.resize(static_cast<std::size_t>(got));
            return value;
        }
        if (got < 0 && errno != ERANGE)
            return std::nullopt; // ERANGE: it grew meanwhile; ask again
    }
}

} // namespace tollivex::platform
