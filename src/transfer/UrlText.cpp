// Address and buffer text helpers of the download component.

#include "transfer/Download.h"

#include <cctype>

namespace tollivex {

void SplitUrl(std::string& address, std::string& path)
{
    // Only "http://" is a scheme here; anything else stays part of the host.
    static const std::string scheme = "http://";
    if (address.size() >= scheme.size()) {
        bool isHttp = true;
        for (std::size_t i = 0; i < scheme.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(address[i])) != scheme[i])
                isHttp = false;
        if (isHttp)
            address.erase(0, scheme.size());
    }
    const auto slash = address.find('/');
    if (slash == std::string::npos)
        return;
    path = address.substr(slash);
    address.erase(slash);
}

std::string TrimAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }

} // namespace tollivex
