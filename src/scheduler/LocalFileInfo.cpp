#include "scheduler/LocalFileInfo.h"

#include "queue/TextHelpers.h"
#include "resolve/SiteCode.h"
#include "scheduler/VideoFile.h"

#include <cctype>
#include <charconv>

namespace tollivex {

namespace {

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix)
{
    if (text.size() < suffix.size())
        return false;
    const size_t start = text.size() - suffix.size();
    for (size_t i = 0; i < suffix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[start + i])) !=
            std::tolower(static_cast<unsigned char>(suffix[i])))
            return false;
    }
    return true;
}

// Keeps the first `limit` - 4 and the last four characters: the extension survives the cut.
std::string CutKeepingExtension(const std::string& name, size_t limit)
{
    if (CharacterCount(name) <= limit)
        return name;
    return FirstCharacters(name, limit - 4) + LastCharacters(name, 4);
}

} // namespace

std::string DeriveLocalFileName(const std::string& link, const std::string& remoteFileName, int siteCode)
{
    std::string name = remoteFileName;
    // A link that names the video file itself is a better name than whatever
    // the server announced.
    if (remoteFileName.empty() || EndsWithIgnoringCase(link, ".flv") || EndsWithIgnoringCase(link, ".wmv")) {
        const size_t slash = link.rfind('/');
        name = slash == std::string::npos ? link : link.substr(slash + 1);
    }
    if (siteCode == siteYouTube || siteCode == siteDailyMotion || siteCode == siteZippyVideos)
        name += ".flv";
    name = CutKeepingExtension(name, 100);
    if (siteCode == siteYouTube)
        name = CutKeepingExtension(name, 35);
    // Whatever the page or the server said, the name stays inside the folder
    // and fits the disk's limit on a name's bytes.
    return FitNameBytes(CleanFileName(name));
}

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
