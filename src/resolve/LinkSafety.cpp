#include "resolve/LinkSafety.h"

namespace tollivex {

std::string MakeLinkSafe(const std::string& link)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(link.size());
    for (const char c : link) {
        if (IsControlByte(c))
            return std::string();
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ' ' || byte >= 0x80) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace tollivex
