#include "platform/gui/DroppedLinks.h"

#include <cctype>

namespace tollivex::platform {

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find_first_not_of(" \t") != std::string::npos)
            lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

} // namespace

std::vector<std::string> DroppedAddresses(const std::optional<std::string>& uriList,
                                          const std::optional<std::string>& plainText)
{
    if (uriList) {
        std::vector<std::string> addresses;
        for (const std::string& line : Lines(*uriList)) {
            // Comments ("#...") and other schemes (file:, mailto:) are no web addresses.
            if (StartsWithNoCase(line, "http://") || StartsWithNoCase(line, "https://"))
                addresses.push_back(line);
        }
        return addresses;
    }
    return plainText ? Lines(*plainText) : std::vector<std::string>{};
}

} // namespace tollivex::platform
