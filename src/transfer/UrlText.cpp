// Address and buffer text helpers of the download component.

#include "transfer/Download.h"

#include <cctype>

namespace tollivex {

namespace {
// Removes `scheme` (lower case) from the start of `address`, compared without regard to case.
bool TakeScheme(std::string& address, const std::string& scheme)
{
    if (address.size() < scheme.size())
        return false;
    for (std::size_t i = 0; i < scheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(address[i])) != scheme[i])
            return false;
    address.erase(0, scheme.size());
    return true;
}
} // namespace

bool TakeSecureScheme(std::string& address) { return TakeScheme(address, "https://"); }

void SplitUrl(std::string& address, std::string& path)
{
    // Only "http://" is a scheme here; anything else stays part of the host.
    TakeScheme(address, "http://");
    const auto slash = address.find('/');
    if (slash == std::string::npos)
        return;
    path = address.substr(slash);
    address.erase(slash);
}

std::string TrimAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }

} // namespace tollivex
