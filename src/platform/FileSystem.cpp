#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include <cerrno>
#include <cstdio>

#ifndef _WIN32
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#endif
#if defined(__linux__)
#include <sys/xattr.h>
#endif

namespace fs = std::filesystem;

namespace tollivex::platform {

namespace {
std::string& ProgramFolderOverride()
{
    static std::string folder;
    return folder;
}

fs::path ToPath(const std::string& utf8) { return fs::u8path(utf8); }

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
    for (;;) {
        const ssize_t size = ::lgetxattr(path.c_str(), name.c_str(), nullptr, 0);
        if (size < 0)
            return std::nullopt;
        std::string value(static_cast<std::size_t>(size), '\0');
        const ssize_t got = ::lgetxattr(path.c_str(), name.c_str(), value.data(), value.size());
        if (got >= 0 && got <= size) {
            value.resize(static_cast<std::size_t>(got));
            return value;
        }
        if (got < 0 && errno != ERANGE)
            return std::nullopt;
    }
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
    QTemporaryFile probe(QDir(QString::fromStdString(path)).filePath(QStringLiteral(".tollivex-write-probe-XXXXXX")));
    return probe.open(); // removed again when it goes out of scope
}

std::string ProgramFolder()
{
    if (!ProgramFolderOverride().empty())
        return ProgramFolderOverride();
    if (QCoreApplication::instance())
        return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
    std::error_code ec;
    return fs::current_path(ec).u8string();
}

void SetProgramFolder(const std::string& folder) { ProgramFolderOverride() = folder; }

std::string ScratchFolder()
{
    const std::string program = ProgramFolder();
    if (FolderIsWritable(program))
        return program;
    QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty())
        cache = QDir::tempPath();
    QDir().mkpath(cache);
    return QDir::toNativeSeparators(cache).toStdString();
}

std::string HomeFolder() { return QDir::toNativeSeparators(QDir::homePath()).toStdString(); }

} // namespace tollivex::platform
