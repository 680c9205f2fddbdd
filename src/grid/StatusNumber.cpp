#include "grid/StatusNumber.h"

#include <cstdint>

namespace tollivex {

std::optional<long> StatusNumber(const std::string& text)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    constexpr long kLimit = INT32_MAX;
    long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        if (value < kLimit)
            value = value * 10 + (c - '0');
        if (value > kLimit)
            value = kLimit;
    }
    return negative ? -value : value;
}

int ClampPercent(long value)
{
    if (value < 0)
        return 0;
    if (value > 100)
        return 100;
    return static_cast<int>(value);
}

} // namespace tollivex
