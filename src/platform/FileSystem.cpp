#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
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

// Puts a file's (or a folder's) data on the disk itself, so that a rename
// after it can never, after a power cut, name a file whose data was lost.
void SyncToDisk(const std::string& path)
{
#ifndef _WIN32
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
#else
    (void)path;
#endif
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
    if (!FileExists(from) || FolderExists(to))
        return false;
    SyncToDisk(from);
    std::error_code ec;
    const fs::path target = ToPath(to);
    fs::rename(ToPath(from), target, ec);
    if (ec && FileExists(to) && !fs::is_symlink(fs::symlink_status(target, ec))) {
        // Where a read-only file cannot be replaced (Windows), it loses that attribute first.
        ec.clear();
        fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ec);
        ec.clear();
        fs::rename(ToPath(from), target, ec);
    }
    if (!ec)
        SyncToDisk(target.parent_path().string());
    return !ec;
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
