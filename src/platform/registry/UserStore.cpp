// The registry kept in a per-user file, for systems without one.
#ifndef _WIN32

#include "platform/registry/UserStore.h"

#include "platform/DiskFile.h"
#include "platform/FileSystem.h"
#include "platform/registry/Registry.h"
#include "platform/registry/StoreDocument.h"
#include "platform/seams/SeamHooks.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tollivex::platform::registry {

struct KeyObject {
    std::string root;
    std::vector<std::string> path; // as stored, letter case included
    bool writable = false;
};

namespace {

// A store larger than this is not a settings file.
constexpr off_t kMaxStoreBytes = 16 * 1024 * 1024;
// Writers hold the lock for a few milliseconds; one that waits this long gives up.
constexpr auto kLockWait = std::chrono::milliseconds(5000);
constexpr auto kLockRetry = std::chrono::milliseconds(5);
// Access rights that change something: set value, create subkey, delete.
constexpr std::uint32_t kWriteRights = 0x0002u | 0x0004u | 0x00010000u;

std::string RootName(Root root)
{
    switch (root) {
    case HKeyClassesRoot: return "HKEY_CLASSES_ROOT";
    case HKeyCurrentUser: return "HKEY_CURRENT_USER";
    case HKeyLocalMachine: return "HKEY_LOCAL_MACHINE";
    case HKeyUsers: return "HKEY_USERS";
    default: return {};
    }
}

/// Splits a key path at its backslashes; false when a part is empty.
bool SplitKeyPath(const std::string& subKey, std::vector<std::string>& parts)
{
    parts.clear();
    if (subKey.empty())
        return true;
    std::size_t start = 0;
    for (;;) {
        const auto slash = subKey.find('\\', start);
        const std::string part = subKey.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part.empty())
            return false;
        parts.push_back(ValidUtf8(part));
        if (slash == std::string::npos)
            return true;
        start = slash + 1;
    }
}

/// The stored root name and the parts of `subKey` below it, or the error a key call reports.
Status LocateKey(Root root, const std::string& subKey, std::string& rootName, std::vector<std::string>& path)
{
    rootName = RootName(root);
    if (rootName.empty())
        return ErrorInvalidHandle;
    if (!SplitKeyPath(subKey, path))
        return ErrorBadPathname;
    return ErrorSuccess;
}

enum class LoadResult { Missing, Loaded, Corrupt };

/// The store file's bytes: nothing when there is no file; Corrupt when it
/// cannot be read, is no regular file or is too large for a settings file.
LoadResult ReadStoreBytes(std::string& bytes)
{
    const std::string path = StoreFile();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return LoadResult::Missing;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return LoadResult::Corrupt;
    LoadResult result = LoadResult::Loaded;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxStoreBytes) {
        result = LoadResult::Corrupt;
    } else {
        char buffer[16384];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 || static_cast<off_t>(bytes.size()) + got > kMaxStoreBytes) {
                result = LoadResult::Corrupt;
                break;
            }
            if (got == 0)
                break;
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    return result;
}

LoadResult LoadDocument(StoreDocument& document)
{
    document.clear();
    std::string bytes;
    const LoadResult read = ReadStoreBytes(bytes);
    if (read != LoadResult::Loaded)
        return read;
    if (bytes.find_first_not_of(" \t\n\v\f\r") == std::string::npos)
        return LoadResult::Loaded; // nothing was ever stored in it
    auto parsed = ParseStore(bytes);
    if (!parsed)
        return LoadResult::Corrupt;
    document = std::move(*parsed);
    return LoadResult::Loaded;
}

void Report(const std::string& text)
{
    std::fprintf(stderr, "Tollivex: %s\n", text.c_str());
    std::fflush(stderr);
}

/// Now, as a name part: 20240131-235959-123 (local time, milliseconds last).
std::string TimeStamp()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    std::snprintf(text + length, sizeof text - length, "-%03d", static_cast<int>(millis));
    return text;
}

/// Moves an unreadable store aside so its content is kept and the settings
/// start from their defaults. The caller holds the lock. False when the file
/// could not be moved (it must then not be overwritten).
bool MoveCorruptStoreAside()
{
    static std::set<std::string> reported;
    const std::string path = StoreFile();
    const std::string backup = path + ".corrupt-" + TimeStamp();
    const bool moved = RenameWithoutReplacing(path, backup) == RenameOutcome::Renamed;
    if (moved) {
        Report("the settings store " + path + " could not be read; it was kept as " + backup +
               " and the settings start from their defaults.");
        reported.erase(path);
    } else if (reported.insert(path).second) {
        Report("the settings store " + path +
               " could not be read and could not be moved aside; the settings use their defaults and are not saved.");
    }
    return moved;
}

/// A store file marked read-only (or one this user cannot write) opens for reading only.
bool StoreIsReadOnly()
{
    const std::string path = StoreFile();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    return ::access(path.c_str(), W_OK) != 0 || !(info.st_mode & S_IWUSR);
}

/// The store's lock: registry.json.lock beside it, held with flock, so a
/// program that ends while it holds the lock, however it ends, leaves none
/// held. The file itself stays; removing it would let two writers in.
class StoreLock {
public:
    StoreLock()
    {
        const std::string path = StoreFile() + ".lock";
        fd_ = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ < 0)
            return;
        const auto deadline = std::chrono::steady_clock::now() + kLockWait;
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline)
                return;
            std::this_thread::sleep_for(kLockRetry);
        }
        locked_ = true;
    }
    ~StoreLock()
    {
        if (fd_ >= 0)
            ::close(fd_); // releases the lock
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool Locked() const { return locked_; }

private:
    int fd_ = -1;
    bool locked_ = false;
};

/// The store as a reader sees it: empty when missing or unreadable.
StoreDocument ReadStore()
{
    StoreDocument document;
    if (LoadDocument(document) != LoadResult::Corrupt)
        return document;
    if (!CreateFolder(StoreFolder()))
        return {};
    StoreLock lock;
    if (lock.Locked() && LoadDocument(document) == LoadResult::Corrupt)
        MoveCorruptStoreAside();
    return LoadDocument(document) == LoadResult::Loaded ? document : StoreDocument();
}

/// Writes the whole document under a new name beside the store, puts it on
/// the disk and renames it over the store in one step: at every moment the
/// store is the old file whole or the new one whole. The caller holds the lock.
Status SaveDocument(const StoreDocument& document)
{
    const std::string path = StoreFile();
    struct stat existing {};
    const bool existed = ::stat(path.c_str(), &existing) == 0;
    static std::atomic<unsigned> saves{0};
    std::unique_ptr<DiskFile> file;
    std::string saving;
    for (int attempt = 0; attempt < 16 && !file; ++attempt) {
        saving = path + ".saving-" + std::to_string(::getpid()) + "-" + std::to_string(++saves);
        CreateOutcome outcome = CreateOutcome::Failed;
        file = DiskFile::CreateNew(saving, &outcome);
        if (!file && outcome != CreateOutcome::Taken)
            break;
    }
    if (!file)
        return ErrorAccessDenied;
    const std::string bytes = WriteStore(document);
    // An existing store keeps its rights; a new one is the user's own business.
    const mode_t mode = existed ? (existing.st_mode & 07777) : 0600;
    const bool written = file->Append(bytes.data(), bytes.size()) && file->Sync() && ::chmod(saving.c_str(), mode) == 0;
    if (!written || !ReplaceFile(saving, path)) {
        file->RemoveIfStillAtPath();
        return ErrorWriteFault;
    }
    SyncFolder(StoreFolder());
    return ErrorSuccess;
}

/// Re-reads the store under the lock, applies `change` and replaces the file
/// when the change succeeded and changed something.
Status ChangeStore(const std::function<Status(StoreDocument&)>& change)
{
    if (!CreateFolder(StoreFolder()))
        return ErrorAccessDenied;
    StoreLock lock;
    if (!lock.Locked())
        return ErrorWriteFault;
    if (StoreIsReadOnly())
        return ErrorAccessDenied;
    StoreDocument document;
    const LoadResult loaded = LoadDocument(document);
    if (loaded == LoadResult::Corrupt && !MoveCorruptStoreAside())
        return ErrorWriteFault;
    const StoreDocument before = document;
    const Status status = change(document);
    if (status != ErrorSuccess)
        return status;
    if (document == before && loaded == LoadResult::Loaded)
        return ErrorSuccess; // nothing changed: the file stays as it is
    return SaveDocument(document);
}

/// Walks from a root node down a key path. With `create`, missing keys are
/// added; without it, a missing key makes the walk fail. `act` runs on the
/// final key. A walk that fails may have added keys: the caller then keeps
/// none of its changes.
Status WalkKey(StoreDocument& document, const std::string& root, const std::vector<std::string>& path, bool create,
               std::vector<std::string>* storedPath, const std::function<Status(StoreNode&)>& act)
{
    StoreEntry* rootEntry = FindEntry(document, root);
    if (!rootEntry && !create)
        return ErrorFileNotFound;
    StoreNode* node = rootEntry ? &rootEntry->node : &EntryNamed(document, root);
    for (const std::string& part : path) {
        if (StoreEntry* child = FindEntry(node->keys, part)) {
            if (storedPath)
                storedPath->push_back(child->name);
            node = &child->node;
            continue;
        }
        if (!create)
            return ErrorFileNotFound;
        if (storedPath)
            storedPath->push_back(part);
        node->hasKeys = true;
        node = &EntryNamed(node->keys, part);
    }
    return act(*node);
}

Status MakeHandle(Root root, const std::string& subKey, std::uint32_t access, bool create, KeyHandle& key)
{
    key = nullptr;
    std::string rootName;
    std::vector<std::string> path;
    if (const Status located = LocateKey(root, subKey, rootName, path); located != ErrorSuccess)
        return located;
    const bool wantsWrite = (access & kWriteRights) != 0;
    // A read-only store still opens keys for reading.
    if ((wantsWrite || create) && StoreIsReadOnly())
        return ErrorAccessDenied;
    const auto nothing = [](StoreNode&) { return ErrorSuccess; };
    std::vector<std::string> stored;
    Status status;
    if (create) {
        status = ChangeStore([&](StoreDocument& document) {
            stored.clear();
            return WalkKey(document, rootName, path, true, &stored, nothing);
        });
    } else {
        StoreDocument document = ReadStore();
        status = WalkKey(document, rootName, path, false, &stored, nothing);
    }
    if (status != ErrorSuccess)
        return status;
    key = new KeyObject{rootName, stored, wantsWrite || create};
    return ErrorSuccess;
}

/// A key handle whose key was deleted since it was opened.
Status MissingKeyIsDeleted(Status status) { return status == ErrorFileNotFound ? ErrorKeyDeleted : status; }

} // namespace

std::string StoreFolder()
{
    std::string chosen = seams::StoreFolder();
    if (!chosen.empty())
        return chosen;
    // The user's configuration folder: XDG_CONFIG_HOME when it is an absolute
    // path (a relative one is to be ignored), else ~/.config.
    const char* configured = std::getenv("XDG_CONFIG_HOME");
    const std::string base = configured && configured[0] == '/' ? std::string(configured)
                                                                : JoinPath(HomeFolder(), ".config");
    return JoinPath(base, "Tollivex");
}

std::string StoreFile() { return StoreFolder() + "/registry.json"; }

Status OpenKey(Root root, const std::string& subKey, std::uint32_t access, KeyHandle& key)
{
    return MakeHandle(root, subKey, access, false, key);
}

Status CreateKey(Root root, const std::string& subKey, std::uint32_t access, KeyHandle& key)
{
    return MakeHandle(root, subKey, access, true, key);
}

Status QueryValue(KeyHandle key, const std::string& name, char* buffer, std::uint32_t& size)
{
    if (!key)
        return ErrorInvalidHandle;
    StoreDocument document = ReadStore();
    std::string bytes;
    bool keyFound = false;
    const Status status = WalkKey(document, key->root, key->path, false, nullptr, [&](StoreNode& node) {
        keyFound = true;
        const auto* stored = FindValue(node.values, ValidUtf8(name));
        if (!stored)
            return ErrorFileNotFound;
        bytes = stored->second;
        bytes += '\0';
        return ErrorSuccess;
    });
    if (status != ErrorSuccess)
        return keyFound ? status : MissingKeyIsDeleted(status);
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    if (!buffer) {
        size = needed;
        return ErrorSuccess;
    }
    if (size < needed) {
        size = needed;
        return ErrorMoreData;
    }
    bytes.copy(buffer, needed); // the text and its NUL
    size = needed;
    return ErrorSuccess;
}

Status SetTextValue(KeyHandle key, const std::string& name, const std::string& text)
{
    if (!key)
        return ErrorInvalidHandle;
    if (!key->writable)
        return ErrorAccessDenied;
    return MissingKeyIsDeleted(ChangeStore([&](StoreDocument& document) {
        return WalkKey(document, key->root, key->path, false, nullptr, [&](StoreNode& node) {
            const std::string wanted = ValidUtf8(name);
            const auto* stored = FindValue(node.values, wanted);
            node.hasValues = true;
            SetValue(node.values, stored ? stored->first : wanted, ValidUtf8(text));
            return ErrorSuccess;
        });
    }));
}

Status DeleteValue(KeyHandle key, const std::string& name)
{
    if (!key)
        return ErrorInvalidHandle;
    if (!key->writable)
        return ErrorAccessDenied;
    bool keyFound = false;
    const Status status = ChangeStore([&](StoreDocument& document) {
        return WalkKey(document, key->root, key->path, false, nullptr, [&](StoreNode& node) {
            keyFound = true;
            auto* stored = FindValue(node.values, ValidUtf8(name));
            if (!stored)
                return ErrorFileNotFound;
            node.values.erase(node.values.begin() + (stored - node.values.data()));
            return ErrorSuccess;
        });
    });
    return keyFound ? status : MissingKeyIsDeleted(status);
}

Status DeleteKey(Root root, const std::string& subKey)
{
    std::string rootName;
    std::vector<std::string> path;
    if (const Status located = LocateKey(root, subKey, rootName, path); located != ErrorSuccess)
        return located;
    if (path.empty())
        return ErrorAccessDenied; // a root key is never deleted
    const std::string last = path.back();
    path.pop_back();
    return ChangeStore([&](StoreDocument& document) {
        return WalkKey(document, rootName, path, false, nullptr, [&](StoreNode& parent) {
            StoreEntry* stored = FindEntry(parent.keys, last);
            if (!stored)
                return ErrorFileNotFound;
            if (!stored->node.keys.empty())
                return ErrorAccessDenied; // as the registry: subkeys go first
            parent.keys.erase(parent.keys.begin() + (stored - parent.keys.data()));
            return ErrorSuccess;
        });
    });
}

void CloseKey(KeyHandle key) { delete key; }

} // namespace tollivex::platform::registry

#endif // !_WIN32
