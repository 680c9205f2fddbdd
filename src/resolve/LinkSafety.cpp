#include "resolve/LinkSafety.h"

namespace tollivex {

std::string MakeLinkSafe(const std::string& link)
{
    for (const char c : link) {
        if (IsControlByte(c))
            return std::string();
    }
    return link;
}

} // namespace tollivex
