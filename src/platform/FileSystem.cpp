#include "platform/FileSystem.h"

#include "platform/DiskFile.h"
#include "platform/seams/SeamHooks.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>
#include <vector>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
// The system's ReplaceFile is a macro that would rename ours.
#undef ReplaceFile
#else
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <unistd.h>
#endif
#if defined(__linux__)
#include "platform/AttributeValue.h"

#include <sys/xattr.h>
#endif

namespace fs = std::filesystem;

namespace tollivex::platform {

namespace {

// The program's own folder in the user's cache folder, named after its maker and itself.
constexpr char kOwnCacheFolder[] = "Harrowmere/Tollivex";

fs::path ToPath(const std::string& utf8) { return fs::u8path(utf8); }

/// The value of an environment variable; "" when it is unset.
std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

/// Six letters and digits that another name in the folder is unlikely to have.
std::string RandomTag()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string tag;
    for (int i = 0; i < 6; ++i)
        tag += kLetters[pick(generator)];
    return tag;
}

#ifdef _WIN32
std::string ExecutableFolder()
{
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size())
            return fs::path(std::wstring(name.data(), length)).parent_path().u8string();
        name.resize(name.size() * 2);
    }
}

/// A path with the platform's separators.
std::string Native(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}
#else
std::string ExecutableFolder()
{
    // The executable itself, links resolved: a link to it elsewhere (the
    // installed bin/tollivex) still finds the files beside the program.
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : executable.parent_path().u8string();
}

/// The path without doubled or trailing slashes, "." or ".."; "/" for none.
std::string Native(const std::string& path)
{
    if (path.empty())
        return "/";
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto slash = path.find('/', start);
        const std::string part = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        start = slash == std::string::npos ? path.size() + 1 : slash + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string clean = path[0] == '/' ? "/" : "";
    for (const std::string& part : parts)
        clean += (clean.empty() || clean == "/" ? "" : "/") + part;
    return clean.empty() ? "." : clean;
}
#endif

/// The user's cache folder: XDG_CACHE_HOME when it is an absolute path (a
/// relative one is to be ignored), else ~/.cache; on Windows the local
/// application data folder. "" when there is none.
std::string UserCacheFolder()
{
#ifdef _WIN32
    const std::string local = Environment("LOCALAPPDATA");
    return local.empty() ? std::string() : JoinPath(JoinPath(Native(local), Native(kOwnCacheFolder)), "cache");
#else
    const std::string chosen = Environment("XDG_CACHE_HOME");
    const std::string base = !chosen.empty() && chosen[0] == '/' ? chosen : JoinPath(HomeFolder(), ".cache");
    return JoinPath(base, kOwnCacheFolder);
#endif
}

std::string TemporaryFolder()
{
    std::error_code ec;
    const fs::path temp = fs::temp_directory_path(ec);
    return ec ? std::string() : Native(temp.u8string());
}

} // namespace

char PathSeparator()
{
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    const char last = folder.back();
    if (last == PathSeparator() || last == '/')
        return folder + name;
    return folder + PathSeparator() + name;
}

bool FolderExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_directory(ToPath(path), ec);
}

bool CreateFolder(const std::string& path)
{
    if (path.empty())
        return false;
    std::error_code ec;
    fs::create_directories(ToPath(path), ec);
    return FolderExists(path);
}

bool FileExists(const std::string& path)
{
    if (path.empty())
        return false;
    std::error_code ec;
    const auto status = fs::symlink_status(ToPath(path), ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
}

bool ReplaceFile(const std::string& from, const std::string& to)
{
    if (EntryAt(from) != EntryKind::RegularFile || EntryAt(to) == EntryKind::Folder)
        return false;
    std::error_code ec;
    fs::rename(ToPath(from), ToPath(to), ec);
    return !ec;
}

RenameOutcome RenameWithoutReplacing(const std::string& from, const std::string& to)
{
#ifdef _WIN32
    // The C library's rename never replaces an existing file here.
    if (::_wrename(ToPath(from).wstring().c_str(), ToPath(to).wstring().c_str()) == 0)
        return RenameOutcome::Renamed;
    return errno == EEXIST || errno == EACCES ? RenameOutcome::Taken : RenameOutcome::Failed;
#else
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return RenameOutcome::Renamed;
    if (errno == EEXIST)
        return RenameOutcome::Taken;
    if (errno != EINVAL && errno != ENOSYS)
        return RenameOutcome::Failed;
    // A file system without that rename: a second name that cannot replace
    // anything either, then the first name goes.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return RenameOutcome::Renamed;
    }
    return errno == EEXIST ? RenameOutcome::Taken : RenameOutcome::Failed;
#endif
}

EntryKind EntryAt(const std::string& path)
{
    if (path.empty())
        return EntryKind::None;
    std::error_code ec;
    const auto status = fs::symlink_status(ToPath(path), ec);
    if (ec || !fs::exists(status))
        return EntryKind::None;
    if (fs::is_symlink(status))
        return EntryKind::Link;
    if (fs::is_directory(status))
        return EntryKind::Folder;
    return fs::is_regular_file(status) ? EntryKind::RegularFile : EntryKind::Other;
}

std::optional<std::string> AttributeAt(const std::string& path, const std::string& name)
{
#if defined(__linux__)
    if (EntryAt(path) != EntryKind::RegularFile)
        return std::nullopt;
    return AttributeValue(
        [&](void* buffer, std::size_t size) { return ::lgetxattr(path.c_str(), name.c_str(), buffer, size); });
#else
    (void)path;
    (void)name;
    return std::nullopt;
#endif
}

void SyncFolder(const std::string& path)
{
#ifndef _WIN32
    const int fd = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
#else
    (void)path;
#endif
}

bool DeleteRegularFile(const std::string& path)
{
    if (!FileExists(path))
        return false;
    std::error_code ec;
    const fs::path p = ToPath(path);
    // Forced delete: a read-only file loses that attribute first.
    if (!fs::is_symlink(fs::symlink_status(p, ec)))
        fs::permissions(p, fs::perms::owner_write, fs::perm_options::add, ec);
    ec.clear();
    return fs::remove(p, ec) && !ec;
}

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::ifstream in(ToPath(path), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return content.str();
}

bool FolderIsWritable(const std::string& path)
{
    if (!FolderExists(path))
        return false;
    // A new file of a random name, created exclusively: whatever already lies
    // in the folder (a link planted under a fixed name, say) is never opened.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string probe = JoinPath(path, ".tollivex-write-probe-" + RandomTag());
        CreateOutcome outcome = CreateOutcome::Failed;
        auto file = DiskFile::CreateNew(probe, &outcome);
        if (!file) {
            if (outcome == CreateOutcome::Taken)
                continue;
            return false;
        }
#ifdef _WIN32
        file.reset(); // an open file cannot be removed here
        DeleteRegularFile(probe);
#else
        file->RemoveIfStillAtPath();
#endif
        return true;
    }
    return false;
}

std::string ProgramFolder()
{
    std::string chosen = seams::ProgramFolder();
    if (!chosen.empty())
        return chosen;
    // Found once: the executable's name no longer leads to it once a package
    // update has replaced it.
    static const std::string folder = [] {
        std::string found = ExecutableFolder();
        if (!found.empty())
            return found;
        std::error_code ec;
        return fs::current_path(ec).u8string();
    }();
    return folder;
}

std::string ScratchFolder()
{
    std::string program = ProgramFolder();
    if (FolderIsWritable(program))
        return program;
    std::string cache = UserCacheFolder();
    if (cache.empty())
        cache = TemporaryFolder();
    CreateFolder(cache);
    return cache;
}

std::string HomeFolder()
{
#ifdef _WIN32
    return Native(Environment("USERPROFILE"));
#else
    std::string home = Environment("HOME");
    if (home.empty()) {
        // No HOME (a service's environment): the account's own home.
        if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir)
            home = account->pw_dir;
    }
    return Native(home);
#endif
}

} // namespace tollivex::platform
