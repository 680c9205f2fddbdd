#include "scheduler/LocalFileInfo.h"

#include "queue/TextHelpers.h"

#include <charconv>

namespace tollivex {

std::string SizeTextFor(float fileSize, bool fileExists)
{
    if (fileSize == -1.0f && fileExists)
        return "0";
    return FormatFileSize(fileSize);
}

bool SizeTextMarksFailure(const std::string& sizeText)
{
    const std::string head = FirstCharacters(sizeText, 2);
    const char* first = head.data();
    const char* last = head.data() + head.size();
    if (first != last && *first == '+')
        ++first;
    long value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end == first)
        return true;
    // "4.8 MB", "4,8 MB", "1 KB" and "4\u066B8 MB" begin with a number cut
    // short by the decimal separator (the locale's, which may be a character
    // outside ASCII) or the blank; anything else after the digits is not a number.
    if (end != last) {
        const unsigned char next = static_cast<unsigned char>(*end);
        if (next != '.' && next != ',' && next != ' ' && next < 0x80)
            return true;
    }
    return value == -1;
}

} // namespace tollivex
