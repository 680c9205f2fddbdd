#pragma once
// The one rule every resolved link passes before it leaves the resolvers: the
// link goes into a request line, and page text is whatever the server sent.

#include <string>

namespace tollivex {

/// Bytes below 0x20 (NUL, CR, LF, tab...) and DEL.
inline bool IsControlByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

/// The link made fit for a request: "" when it holds a control byte (a CR LF
/// would split the request, a NUL cut it); otherwise unchanged. Spaces and
/// bytes of 0x80 and above stay as the page gave them: the saved name comes
/// from the link, and the internet layer escapes each request by itself.
std::string MakeLinkSafe(const std::string& link);

} // namespace tollivex
