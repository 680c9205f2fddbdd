#include "grid/FileNameRules.h"

#include "queue/DownloadItem.h"
#include "queue/DownloadQueue.h"
#include "queue/TextHelpers.h"

#include <cctype>

namespace tollivex {

namespace {

// Extensions longer than this are treated as part of the name.
constexpr size_t kLongestKeptExtension = 16;

bool IsPlaceholder(const std::string& name)
{
    return name == filename::kAutoDetect || name == filename::kError || name == filename::kUnsupportedLink ||
           name == filename::kProcessFailed || name == filename::kEnterFileName;
}

} // namespace

std::string FitFileNameColumn(const std::string& name, size_t limit)
{
    if (CharacterCount(name) <= limit)
        return name;
    const size_t dot = name.rfind('.');
    const size_t extChars = dot != std::string::npos && dot > 0 ? CharacterCount(name.substr(dot)) : 0;
    if (extChars == 0 || extChars > kLongestKeptExtension || extChars >= limit)
        return FirstCharacters(name, limit);
    return FirstCharacters(name, limit - extChars) + name.substr(dot);
}

bool SameLocalFile(const std::string& a, const std::string& b)
{
#ifdef _WIN32
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
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
    for (size_t i = 0; i < DownloadQueue.size(); ++i) {
        if (static_cast<int>(i) == exceptIndex)
            continue;
        const std::string& other = DownloadQueue[i].FileName;
        if (!IsPlaceholder(other) && SameLocalFile(other, name))
            return true;
    }
    return false;
}

} // namespace tollivex
