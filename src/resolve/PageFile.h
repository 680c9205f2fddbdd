#pragma once
// The scratch file that holds the last page fetched for resolution.

#include <string>

namespace tollivex {

/// Full path of Parse.wvi in the scratch folder; the page fetch writes it and
/// the resolvers read it.
std::string PageFilePath();

/// The whole content of Parse.wvi as bytes, exactly as fetched (no decoding,
/// no line handling). "" when the file is missing, unreadable or empty: the
/// resolvers treat all three alike, as "no link".
std::string ReadPageFile();

} // namespace tollivex
