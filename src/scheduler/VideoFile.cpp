#include "scheduler/VideoFile.h"

#include "grid/FileNameRules.h"
#include "platform/FileSystem.h"
#include "queue/TextHelpers.h"

#include <utility>
#include <vector>

namespace tollivex {

namespace {

// Final path and the page address of the item it was published for. A list,
// not a map: names compare as the file system does (SameLocalFile).
std::vector<std::pair<std::string, std::string>>& Published()
{
    static std::vector<std::pair<std::string, std::string>> published;
    return published;
}

bool PublishedForAnother(const std::string& path, const std::string& pageAddress)
{
    const std::string owner = PublishedBy(path);
    return !owner.empty() && owner != pageAddress;
}

} // namespace

std::string PartPathFor(const std::string& finalPath) { return finalPath + kPartSuffix; }

bool ReceivedWhatWasAnnounced(std::int64_t bytesReceived, double announcedSize)
{
    return announcedSize <= 0 || static_cast<double>(bytesReceived) == announcedSize;
}

void NotePublished(const std::string& finalPath, const std::string& pageAddress)
{
    for (auto& entry : Published()) {
        if (SameLocalFile(entry.first, finalPath)) {
            entry.second = pageAddress;
            return;
        }
    }
    Published().emplace_back(finalPath, pageAddress);
}

std::string PublishedBy(const std::string& finalPath)
{
    for (const auto& entry : Published()) {
        if (SameLocalFile(entry.first, finalPath))
            return entry.second;
    }
    return {};
}

std::string PublishedFor(const std::string& pageAddress)
{
    for (auto entry = Published().rbegin(); entry != Published().rend(); ++entry) {
        if (entry->second == pageAddress)
            return entry->first;
    }
    return {};
}

void ForgetPublished() { Published().clear(); }

std::string NameBesidePublished(const std::string& folder, const std::string& name, const std::string& pageAddress,
                                int index)
{
    if (!PublishedForAnother(platform::JoinPath(folder, name), pageAddress))
        return name;
    const size_t dot = name.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > 0;
    const std::string stem = hasExtension ? name.substr(0, dot) : name;
    const std::string extension = hasExtension ? name.substr(dot) : std::string();
    // Finitely many names are published or queued, so a free number is found.
    for (size_t number = 2;; ++number) {
        const std::string mark = " (" + std::to_string(number) + ")" + extension;
        const size_t markLength = CharacterCount(mark);
        const size_t room = kFileNameColumnLength > markLength ? kFileNameColumnLength - markLength : 0;
        const std::string candidate = FirstCharacters(stem, room) + mark;
        if (!PublishedForAnother(platform::JoinPath(folder, candidate), pageAddress) &&
            !FileNameTakenInQueue(candidate, index))
            return candidate;
    }
}

} // namespace tollivex
