#include "platform/internet/HttpText.h"

#include <cctype>
#include <limits>

namespace tollivex::platform {

namespace {
std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameLetters(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
} // namespace

std::optional<std::int64_t> PlainLength(std::string_view value)
{
    value = TrimBlanks(value);
    if (value.empty())
        return std::nullopt;
    std::int64_t number = 0;
    for (const char c : value) {
        if (c < '0' || c > '9')
            return std::nullopt;
        if (number > (std::numeric_limits<std::int64_t>::max() - (c - '0')) / 10)
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return number;
}

std::optional<std::string> HeaderValue(std::string_view block, std::string_view name)
{
    std::size_t start = 0;
    while (start < block.size()) {
        auto end = block.find("\r\n", start);
        if (end == std::string_view::npos)
            end = block.size();
        const std::string_view line = block.substr(start, end - start);
        const auto colon = line.find(':');
        if (colon != std::string_view::npos && SameLetters(TrimBlanks(line.substr(0, colon)), name))
            return std::string(TrimBlanks(line.substr(colon + 1)));
        start = end + 2;
    }
    return std::nullopt;
}

std::optional<int> PortNumber(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    int port = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        port = port * 10 + (c - '0');
        if (port > 65535)
            return std::nullopt;
    }
    return port > 0 ? std::optional<int>(port) : std::nullopt;
}

} // namespace tollivex::platform
