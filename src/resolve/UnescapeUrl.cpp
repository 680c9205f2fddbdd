#include "resolve/UnescapeUrl.h"

#include "resolve/LinkSafety.h"

#include <algorithm>

namespace tollivex {

namespace {
int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

std::string UnescapeUrl(const std::string& text)
{
    std::string out;
    out.reserve(std::min(text.size(), kMaxUnescapedLength + 1));
    for (size_t i = 0; i < text.size(); ++i) {
        if (out.size() > kMaxUnescapedLength)
            return std::string();
        char c = text[i];
        if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            c = static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        }
        if (IsControlByte(c))
            return std::string();
        out += c;
    }
    if (out.size() > kMaxUnescapedLength)
        return std::string();
    return out;
}

} // namespace tollivex
