#include "transfer/TransferProgress.h"

#include <cmath>
#include <limits>

namespace tollivex {

std::int32_t ClampToInt32(double value)
{
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(value))
        return 0;
    if (value <= lowest)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= highest)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

std::int32_t ProgressValue(std::int64_t byteCount, float fileSize)
{
    if (fileSize > 0) {
        const double percent = static_cast<double>(byteCount) / static_cast<double>(fileSize) * 100.0;
        // The default rounding mode sends halves to the even neighbour.
        return ClampToInt32(std::nearbyint(percent));
    }
    return ClampToInt32(static_cast<double>(byteCount));
}

} // namespace tollivex
