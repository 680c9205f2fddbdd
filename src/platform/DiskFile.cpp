#include "platform/DiskFile.h"

#include <cerrno>
#include <filesystem>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include "platform/AttributeValue.h"
#include <fcntl.h>
#include <sys/stat.h>

#include <sys/xattr.h>
#include <unistd.h>
#endif

namespace tollivex::platform {

namespace {

#ifdef _WIN32
int OpenDescriptor(const std::string& path, int flags)
{
    return ::_wopen(std::filesystem::u8path(path).wstring().c_str(), flags | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}
#else
int OpenDescriptor(const std::string& path, int flags)
{
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd;
}
#endif

} // namespace

DiskFile::DiskFile(int descriptor, std::string path) : fd_(descriptor), path_(std::move(path)) {}

DiskFile::~DiskFile()
{
#ifdef _WIN32
    ::_close(fd_);
#else
    ::close(fd_);
#endif
}

std::unique_ptr<DiskFile> DiskFile::CreateNew(const std::string& path, CreateOutcome* outcome)
{
#ifdef _WIN32
    const int fd = OpenDescriptor(path, _O_CREAT | _O_EXCL | _O_RDWR);
#else
    // Exclusive and without following: a link at the name counts as taken.
    const int fd = OpenDescriptor(path, O_CREAT | O_EXCL | O_RDWR);
#endif
    if (outcome)
        *outcome = fd >= 0 ? CreateOutcome::Created : errno == EEXIST ? CreateOutcome::Taken : CreateOutcome::Failed;
    if (fd < 0)
        return nullptr;
    return std::unique_ptr<DiskFile>(new DiskFile(fd, path));
}

std::unique_ptr<DiskFile> DiskFile::OpenRegular(const std::string& path)
{
#ifdef _WIN32
    const int fd = OpenDescriptor(path, _O_RDWR);
    if (fd < 0)
        return nullptr;
    struct _stat64 info {};
    if (::_fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
        ::_close(fd);
        return nullptr;
    }
#else
    // Non-blocking, so a pipe planted at the name cannot hold the window;
    // anything but a regular file is closed again at once.
    const int fd = OpenDescriptor(path, O_RDWR | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
#endif
    return std::unique_ptr<DiskFile>(new DiskFile(fd, path));
}

std::int64_t DiskFile::Size() const
{
#ifdef _WIN32
    struct _stat64 info {};
    return ::_fstat64(fd_, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
#else
    struct stat info {};
    return ::fstat(fd_, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
#endif
}

bool DiskFile::Truncate(std::int64_t size)
{
#ifdef _WIN32
    return ::_chsize_s(fd_, size) == 0 && ::_lseeki64(fd_, size, SEEK_SET) == size;
#else
    return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 &&
           ::lseek(fd_, static_cast<off_t>(size), SEEK_SET) == static_cast<off_t>(size);
#endif
}

bool DiskFile::Append(const char* bytes, std::size_t count)
{
#ifdef _WIN32
    if (::_lseeki64(fd_, 0, SEEK_END) < 0)
        return false;
#else
    if (::lseek(fd_, 0, SEEK_END) < 0)
        return false;
#endif
    while (count > 0) {
#ifdef _WIN32
        const int written = ::_write(fd_, bytes, static_cast<unsigned>(count > 1u << 30 ? 1u << 30 : count));
#else
        const ssize_t written = ::write(fd_, bytes, count);
#endif
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

bool DiskFile::Sync()
{
#ifdef _WIN32
    return ::_commit(fd_) == 0;
#else
    int result;
    do {
        result = ::fsync(fd_);
    } while (result != 0 && errno == EINTR);
    return result == 0;
#endif
}

void DiskFile::StartWriteBack()
{
#if defined(__linux__)
    ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

std::optional<std::string> DiskFile::Attribute(const std::string& name) const
{
#if defined(__linux__)
    return AttributeValue([&](void* buffer, std::size_t size) { return ::fgetxattr(fd_, name.c_str(), buffer, size); });
#else
    (void)name;
    return std::nullopt;
#endif
}

bool DiskFile::SetAttribute(const std::string& name, const std::string& value)
{
#if defined(__linux__)
    return ::fsetxattr(fd_, name.c_str(), value.data(), value.size(), 0) == 0;
#else
    (void)name;
    (void)value;
    return false;
#endif
}

bool DiskFile::StillAtPath() const
{
#ifdef _WIN32
    // An open file cannot be renamed or replaced here.
    return true;
#else
    struct stat mine {};
    struct stat there {};
    return ::fstat(fd_, &mine) == 0 && ::lstat(path_.c_str(), &there) == 0 && mine.st_dev == there.st_dev &&
           mine.st_ino == there.st_ino;
#endif
}

bool DiskFile::RemoveIfStillAtPath()
{
    if (!StillAtPath())
        return false;
    std::error_code ec;
    return std::filesystem::remove(std::filesystem::u8path(path_), ec) && !ec;
}

} // namespace tollivex::platform
