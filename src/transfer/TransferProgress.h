#pragma once
// The numbers a transfer reports. Counting happens in 64 bits so files past
// 2 GiB work; the events carry 32-bit values, so they are clamped, never wrapped.

#include <cstdint>

namespace tollivex {

/// The value to the nearest 32-bit signed integer in range.
std::int32_t ClampToInt32(double value);

/// Percentage of `fileSize` when it is above 0 (division first, then times
/// 100, rounded to nearest with halves to even), else the byte count itself.
std::int32_t ProgressValue(std::int64_t byteCount, float fileSize);

} // namespace tollivex
