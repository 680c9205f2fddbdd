#pragma once
// Percent-decoding of addresses found in pages.

#include <string>

namespace tollivex {

/// Longest decoded address accepted, in bytes: the decoder's buffer holds
/// 1024 bytes including the terminator.
inline constexpr size_t kMaxUnescapedLength = 1023;

/// Every "%" followed by two hexadecimal digits (either case) becomes the byte
/// of that value, anywhere in the text, query and fragment included; a "%" not
/// followed by two hex digits stays as it is; "+" stays "+". The result is ""
/// when the text is empty, when the decoded text is longer than
/// kMaxUnescapedLength, or when it holds a control byte (below 0x20, or 0x7F):
/// a decoded CR, LF or NUL must never reach a request line.
std::string UnescapeUrl(const std::string& text);

} // namespace tollivex
