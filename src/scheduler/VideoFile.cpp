#include "scheduler/VideoFile.h"

#include "platform/DiskFile.h"
#include "platform/FileSystem.h"
#include "scheduler/FileNames.h"

#include <map>

namespace tollivex {

namespace {

// More temporary or published names than this for one video means something
// else fills the folder; the item then cannot be saved.
constexpr int kMostNamesTried = 10000;

/// What a look at one publication name decides.
enum class NameVerdict { Take, Next, Fail };

// Walks the publication names of `name` in order (the name itself, then
// "stem (2).ext", ...), passing over those another queued item holds, until
// `judge` (given the name and its path) takes one or fails.
template <typename Judge>
std::optional<std::string> FirstNameBeside(const std::string& folder, const std::string& name, int index, Judge judge)
{
    for (int number = 1; number < kMostNamesTried; ++number) {
        std::string candidate = NameBeside(name, number);
        if (number > 1 && FileNameTakenInQueue(candidate, index))
            continue;
        switch (judge(platform::JoinPath(folder, candidate))) {
        case NameVerdict::Take: return candidate;
        case NameVerdict::Fail: return std::nullopt;
        case NameVerdict::Next: break;
        }
    }
    return std::nullopt;
}

} // namespace

bool IsOwnCopy(const std::string& path, const std::string& pageAddress)
{
    const auto page = platform::AttributeAt(path, kPageAddressAttribute);
    return page && *page == pageAddress;
}

std::optional<PartFile> OpenPartFile(const std::string& folder, const std::string& name, const std::string& pageAddress,
                                     const std::string& videoAddress)
{
    for (int number = 0; number < kMostNamesTried; ++number) {
        const std::string path = platform::JoinPath(folder, PartNameFor(name, number));
        platform::CreateOutcome outcome = platform::CreateOutcome::Failed;
        if (auto created = platform::DiskFile::CreateNew(path, &outcome)) {
            // Without attributes (a memory stick's file system) the file is
            // no one's own: a later attempt writes beside it.
            created->SetAttribute(kPageAddressAttribute, pageAddress);
            created->SetAttribute(kVideoAddressAttribute, videoAddress);
            return PartFile{std::move(created), false};
        }
        if (outcome == platform::CreateOutcome::Failed)
            return std::nullopt;
        // Judged on the open file itself, so what is checked is what is written.
        auto existing = platform::DiskFile::OpenRegular(path);
        if (existing && existing->Attribute(kPageAddressAttribute) == pageAddress) {
            existing->SetAttribute(kVideoAddressAttribute, videoAddress);
            return PartFile{std::move(existing), true};
        }
    }
    return std::nullopt;
}

std::string ChooseFinalName(const std::string& folder, const std::string& name, const std::string& pageAddress,
                            int index)
{
    const auto chosen = FirstNameBeside(folder, name, index, [&](const std::string& path) {
        const bool free = platform::EntryAt(path) == platform::EntryKind::None || IsOwnCopy(path, pageAddress);
        return free ? NameVerdict::Take : NameVerdict::Next;
    });
    return chosen ? *chosen : FitNameBytes(name);
}

std::optional<std::string> PublishVideo(platform::DiskFile& part, const std::string& folder, const std::string& name,
                                        const std::string& pageAddress, int index)
{
    // Whatever took the temporary name meanwhile (a link planted in a shared
    // folder) is not the video and never gets its name.
    if (!part.StillAtPath())
        return std::nullopt;
    return FirstNameBeside(folder, name, index, [&](const std::string& path) {
        if (platform::EntryAt(path) == platform::EntryKind::None) {
            switch (platform::RenameWithoutReplacing(part.Path(), path)) {
            case platform::RenameOutcome::Renamed: part.MovedTo(path); return NameVerdict::Take;
            case platform::RenameOutcome::Taken: return NameVerdict::Next; // taken meanwhile
            case platform::RenameOutcome::Failed: return NameVerdict::Fail;
            }
        }
        if (!IsOwnCopy(path, pageAddress))
            return NameVerdict::Next;
        // A new download of the same page's video replaces its older copy.
        if (!platform::ReplaceFile(part.Path(), path))
            return NameVerdict::Fail;
        part.MovedTo(path);
        return NameVerdict::Take;
    });
}

bool ReceivedWhatWasAnnounced(std::int64_t bytesReceived, double announcedSize)
{
    return announcedSize <= 0 || static_cast<double>(bytesReceived) == announcedSize;
}

namespace {
// Page address -> the path its video was last published at.
std::map<std::string, std::string>& Published()
{
    static std::map<std::string, std::string> published;
    return published;
}
} // namespace

void NotePublished(const std::string& finalPath, const std::string& pageAddress)
{
    Published()[pageAddress] = finalPath;
}

std::string PublishedFor(const std::string& pageAddress)
{
    const auto found = Published().find(pageAddress);
    return found == Published().end() ? std::string() : found->second;
}

} // namespace tollivex
