#pragma once
// Whether a status text is a bare percentage, read the same in every locale.

#include <optional>
#include <string>

namespace tollivex {

/// The value of a status made only of an optional sign and decimal digits
/// ("45", "+7", "-3", "135"), saturated to the 32-bit range; none for any
/// other text ("", "Complete", "4.5", " 45", "Preperaing (3%)").
std::optional<long> StatusNumber(const std::string& text);

/// A percentage held to 0..100.
int ClampPercent(long value);

} // namespace tollivex
