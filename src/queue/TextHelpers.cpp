#include "queue/TextHelpers.h"

#include <cfenv>
#include <cmath>
#include <cstdio>

namespace tollivex {

namespace {

// Round to one decimal, an exact half going to the even neighbour.
double RoundOneDecimal(double value)
{
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value * 10.0) / 10.0;
    std::fesetround(previous);
    return rounded;
}

bool StartsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

std::string ShortestNumber(double value, int significantDigits)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", significantDigits, value);
    return buffer;
}

std::string BytesText(float bytes) { return ShortestNumber(bytes, 7) + " Bytes"; }

} // namespace

std::string FormatFileSize(float bytes)
{
    constexpr double kKB = 1024.0;
    constexpr double kMB = 1048576.0;
    constexpr double kGB = 1073741824.0;
    constexpr double kTB = 1099511627776.0;

    if (!std::isfinite(bytes))
        return BytesText(bytes);
    const double x = bytes;
    if (x < kKB)
        return BytesText(bytes);
    if (x < kMB) {
        const float kilo = bytes / 1024.0f;
        return ShortestNumber(static_cast<float>(RoundOneDecimal(kilo)), 7) + " KB";
    }
    if (x < kGB)
        return ShortestNumber(RoundOneDecimal(x / kMB), 15) + " MB";
    if (x < kTB)
        return ShortestNumber(RoundOneDecimal(x / kGB), 15) + " GB";
    return {};
}

size_t CharacterCount(const std::string& text)
{
    size_t count = 0;
    for (char byte : text)
        count += StartsCharacter(byte) ? 1 : 0;
    return count;
}

std::string FirstCharacters(const std::string& text, size_t count)
{
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (StartsCharacter(text[i]) && seen++ == count)
            return text.substr(0, i);
    }
    return text;
}

std::string FirstBytes(const std::string& text, size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    size_t end = maxBytes;
    while (end > 0 && !StartsCharacter(text[end]))
        --end;
    return text.substr(0, end);
}

std::string LastCharacters(const std::string& text, size_t count)
{
    if (count == 0)
        return {};
    size_t seen = 0;
    for (size_t i = text.size(); i-- > 0;) {
        if (StartsCharacter(text[i]) && ++seen == count)
            return text.substr(i);
    }
    return text;
}

} // namespace tollivex
