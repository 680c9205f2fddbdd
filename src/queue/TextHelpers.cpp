#include "queue/TextHelpers.h"

#include "queue/DownloadItem.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstring>

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

// The UTF-8 length of a character that must not reach a file name at `at`,
// else 0: a C1 control character (U+0080-U+009F; U+0085 is a line break to
// some file managers) or an invisible bidirectional or format character
// (U+200B-U+200F, U+202A-U+202E, U+2066-U+2069, U+FEFF). A right-to-left
// override would make "clip\u202Evlf.exe" show as "clipexe.flv".
size_t HiddenCharacterLength(const std::string& text, size_t at)
{
    if (at + 2 > text.size())
        return 0;
    const auto b0 = static_cast<unsigned char>(text[at]);
    const auto b1 = static_cast<unsigned char>(text[at + 1]);
    if (b0 == 0xC2 && b1 >= 0x80 && b1 <= 0x9F)
        return 2;
    if (at + 3 > text.size())
        return 0;
    const auto b2 = static_cast<unsigned char>(text[at + 2]);
    const bool hidden = (b0 == 0xE2 && b1 == 0x80 && ((b2 >= 0x8B && b2 <= 0x8F) || (b2 >= 0xAA && b2 <= 0xAE))) ||
                        (b0 == 0xE2 && b1 == 0x81 && b2 >= 0xA6 && b2 <= 0xA9) ||
                        (b0 == 0xEF && b1 == 0xBB && b2 == 0xBF);
    return hidden ? 3 : 0;
}

// The length of the well-formed UTF-8 character at `at`, 0 when its bytes are
// not one (a stray continuation byte, a cut or overlong sequence, a surrogate).
size_t Utf8CharacterLength(const std::string& text, size_t at)
{
    const auto b0 = static_cast<unsigned char>(text[at]);
    if (b0 < 0x80)
        return 1;
    const size_t length = b0 >= 0xC2 && b0 <= 0xDF ? 2 : b0 >= 0xE0 && b0 <= 0xEF ? 3 : b0 >= 0xF0 && b0 <= 0xF4 ? 4 : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
            return 0;
    const auto b1 = static_cast<unsigned char>(text[at + 1]);
    if ((b0 == 0xE0 && b1 < 0xA0) || (b0 == 0xED && b1 > 0x9F) || (b0 == 0xF0 && b1 < 0x90) || (b0 == 0xF4 && b1 > 0x8F))
        return 0;
    return length;
}

std::string BytesText(float bytes) { return ShortestNumber(bytes, 7) + " Bytes"; }

#ifdef _WIN32
bool IsReservedDeviceName(const std::string& name)
{
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    for (char& c : stem)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const char* const reserved[] = {"CON", "PRN", "AUX", "NUL", "COM1", "COM2", "COM3", "COM4", "COM5",
                                           "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4",
                                           "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    for (const char* r : reserved) {
        if (stem == r)
            return true;
    }
    return false;
}
#endif

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

std::string CleanFileName(const std::string& value)
{
    static const char kRemoved[] = {'\\', '/', ':', '*', '?', '"', '<', '>', '|', '&'};
    std::string name;
    name.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const auto u = static_cast<unsigned char>(c);
        if (std::memchr(kRemoved, c, sizeof kRemoved) || u < 0x20 || u == 0x7F)
            continue;
        if (const size_t hidden = HiddenCharacterLength(value, i)) {
            i += hidden - 1;
            continue;
        }
        // Bytes that are no character are shown as the replacement character
        // and saved as it, so the name shown is the name saved.
        const size_t length = Utf8CharacterLength(value, i);
        if (length == 0) {
            name += "\xEF\xBF\xBD";
            continue;
        }
        name.append(value, i, length);
        i += length - 1;
    }
    // "." and ".." (and names of dots and blanks only) name the folder itself
    // or its parent, never a file inside the download folder.
    if (name.find_first_not_of(". ") == std::string::npos)
        return filename::kEnterFileName;
#ifdef _WIN32
    if (IsReservedDeviceName(name))
        name.insert(0, "_");
#endif
    return name;
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
