#pragma once
// Reading HTTP header values and the port of an address. Pure text work: no
// network, no libcurl.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tollivex::platform {

/// A Content-Length value as a number: decimal digits, with blanks or tabs
/// around them. Nothing for anything else ("1,500", "-1", "", a number past
/// 2^63): a length that is not plainly a number is no length.
std::optional<std::int64_t> PlainLength(std::string_view value);

/// The value of the first header `name` (any letter case) in a block of
/// CR LF lines, without the blanks around it; nothing when there is none.
std::optional<std::string> HeaderValue(std::string_view block, std::string_view name);

/// The port after a host's colon ("8080" of "example.com:8080"): decimal
/// digits only, 1 to 65535. Nothing for anything else ("", "0", "http", "70000").
std::optional<int> PortNumber(std::string_view text);

} // namespace tollivex::platform
