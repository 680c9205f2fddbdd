#include "scheduler/FileNames.h"

#include "queue/DownloadItem.h"
#include "queue/DownloadQueue.h"
#include "queue/TextHelpers.h"
#include "resolve/SiteCode.h"

#include <cctype>
#include <cstring>

namespace tollivex {

namespace {

// Extensions longer than this are taken as part of the name when it is cut.
constexpr std::size_t kLongestKeptExtension = 16;

// The UTF-8 length of a character that must not reach a file name at `at`,
// else 0: a C1 control character (U+0080-U+009F; U+0085 is a line break to
// some file managers) or an invisible bidirectional or format character
// (U+200B-U+200F, U+202A-U+202E, U+2066-U+2069, U+FEFF). A right-to-left
// override would make "clip\u202Evlf.exe" show as "clipexe.flv".
std::size_t HiddenCharacterLength(const std::string& text, std::size_t at)
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
std::size_t Utf8CharacterLength(const std::string& text, std::size_t at)
{
    const auto b0 = static_cast<unsigned char>(text[at]);
    if (b0 < 0x80)
        return 1;
    const std::size_t length = b0 >= 0xC2 && b0 <= 0xDF   ? 2
                               : b0 >= 0xE0 && b0 <= 0xEF ? 3
                               : b0 >= 0xF0 && b0 <= 0xF4 ? 4
                                                          : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
            return 0;
    const auto b1 = static_cast<unsigned char>(text[at + 1]);
    if ((b0 == 0xE0 && b1 < 0xA0) || (b0 == 0xED && b1 > 0x9F) || (b0 == 0xF0 && b1 < 0x90) ||
        (b0 == 0xF4 && b1 > 0x8F))
        return 0;
    return length;
}

#ifdef _WIN32
bool IsReservedDeviceName(const std::string& name)
{
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    for (char& c : stem)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const char* const reserved[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4",
                                           "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                           "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    for (const char* r : reserved) {
        if (stem == r)
            return true;
    }
    return false;
}
#endif

// The position of the extension's dot; npos when the name has none (a
// leading dot names a hidden file, not an extension).
std::size_t ExtensionDot(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot == 0 ? std::string::npos : dot;
}

// The extension with its dot, short enough in bytes to be kept through a cut; else "".
std::string KeptExtension(const std::string& name)
{
    const std::size_t dot = ExtensionDot(name);
    if (dot == std::string::npos || name.size() - dot > kLongestKeptExtension)
        return {};
    return name.substr(dot);
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix)
{
    if (text.size() < suffix.size())
        return false;
    const std::size_t start = text.size() - suffix.size();
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[start + i])) !=
            std::tolower(static_cast<unsigned char>(suffix[i])))
            return false;
    }
    return true;
}

// Keeps the first `limit` - 4 and the last four characters: the extension survives the cut.
std::string CutKeepingExtension(const std::string& name, std::size_t limit)
{
    if (CharacterCount(name) <= limit)
        return name;
    return FirstCharacters(name, limit - 4) + LastCharacters(name, 4);
}

bool IsPlaceholder(const std::string& name)
{
    return name == filename::kAutoDetect || name == filename::kError || name == filename::kUnsupportedLink ||
           name == filename::kProcessFailed || name == filename::kEnterFileName;
}

} // namespace

std::string CleanFileName(const std::string& value)
{
    static const char kRemoved[] = {'\\', '/', ':', '*', '?', '"', '<', '>', '|', '&'};
    std::string name;
    name.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const auto u = static_cast<unsigned char>(c);
        if (std::memchr(kRemoved, c, sizeof kRemoved) || u < 0x20 || u == 0x7F)
            continue;
        if (const std::size_t hidden = HiddenCharacterLength(value, i)) {
            i += hidden - 1;
            continue;
        }
        // Bytes that are no character are shown as the replacement character
        // and saved as it, so the name shown is the name saved.
        const std::size_t length = Utf8CharacterLength(value, i);
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

std::string FitFileNameColumn(const std::string& name, std::size_t limit)
{
    if (CharacterCount(name) <= limit)
        return name;
    const std::size_t dot = ExtensionDot(name);
    const std::size_t extChars = dot != std::string::npos ? CharacterCount(name.substr(dot)) : 0;
    if (extChars == 0 || extChars > kLongestKeptExtension || extChars >= limit)
        return FirstCharacters(name, limit);
    return FirstCharacters(name, limit - extChars) + name.substr(dot);
}

std::string FitNameBytes(const std::string& name, std::size_t maxBytes)
{
    if (name.size() <= maxBytes)
        return name;
    const std::string extension = KeptExtension(name);
    if (extension.size() >= maxBytes)
        return FirstBytes(name, maxBytes);
    return FirstBytes(name.substr(0, name.size() - extension.size()), maxBytes - extension.size()) + extension;
}

std::string DeriveLocalFileName(const std::string& link, const std::string& remoteFileName, int siteCode)
{
    std::string name = remoteFileName;
    // A link that names the video file itself is a better name than whatever
    // the server announced.
    if (remoteFileName.empty() || EndsWithIgnoringCase(link, ".flv") || EndsWithIgnoringCase(link, ".wmv")) {
        const std::size_t slash = link.rfind('/');
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

std::string PartNameFor(const std::string& name, int number)
{
    const std::string suffix = (number > 0 ? "." + std::to_string(number) : std::string()) + kPartSuffix;
    return FirstBytes(name, platform::kMaxNameBytes - suffix.size()) + suffix;
}

std::string NameBeside(const std::string& name, int number)
{
    if (number <= 1)
        return FitNameBytes(name);
    const std::string extension = KeptExtension(name);
    const std::string stem = name.substr(0, name.size() - extension.size());
    const std::string mark = " (" + std::to_string(number) + ")" + extension;
    const std::size_t markCharacters = CharacterCount(mark);
    const std::size_t room = kFileNameColumnLength > markCharacters ? kFileNameColumnLength - markCharacters : 0;
    return FirstBytes(FirstCharacters(stem, room), platform::kMaxNameBytes - mark.size()) + mark;
}

bool SameLocalFile(const std::string& a, const std::string& b)
{
#ifdef _WIN32
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
#else
    return a == b;
#endif
}

bool FileNameTakenInQueue(const std::string& name, int exceptIndex)
{
    for (std::size_t i = 0; i < DownloadQueue.size(); ++i) {
        if (static_cast<int>(i) == exceptIndex)
            continue;
        const std::string& other = DownloadQueue[i].FileName;
        if (!IsPlaceholder(other) && SameLocalFile(other, name))
            return true;
    }
    return false;
}

} // namespace tollivex
