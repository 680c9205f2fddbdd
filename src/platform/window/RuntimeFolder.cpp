#include "platform/window/RuntimeFolder.h"

#include "platform/window/seams/WindowSeamHooks.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>

#ifndef _WIN32
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tollivex::platform {

namespace {

#ifdef _WIN32

/// Per-user folders on Windows are closed to other users by their owner rights,
/// and local server names are no paths.
std::optional<QString> OwnFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return std::nullopt;
    return folder;
}

bool IsPrivateFolder(const QString& folder) { return QDir(folder).exists(); }

#else

// A Unix socket's path: sun_path without its closing NUL.
constexpr int kSocketPathBytes = 107;

// How long a start waits for another one that is making the short folder.
constexpr int kShortFolderLockMs = 2000;

bool IsPrivateFolder(const QString& folder)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(folder).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

bool HoldsSockets(const QString& folder)
{
    return QFile::encodeName(folder).size() + kLongestSocketName <= kSocketPathBytes;
}

/// The folder, made closed from the start when it is not there. One of that
/// name made by someone else, or open to others, fails the check and is not used.
std::optional<QString> MadePrivate(const QString& folder)
{
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return IsPrivateFolder(folder) ? std::optional<QString>(folder) : std::nullopt;
}

/// Short and the same on every start on this machine.
QString HostTag()
{
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(host, QCryptographicHash::Sha256).toHex().left(8));
}

/// The target of a link, "" when there is none.
QString LinkTarget(const QString& link)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(QFile::encodeName(link).constData(), target, sizeof target);
    return length > 0 && length < static_cast<ssize_t>(sizeof target) ? QFile::decodeName(QByteArray(target, length))
                                                                      : QString();
}

/// A private folder with a short path, for a cache folder too long to hold
/// sockets: made under a random name (nobody can take it first) in the
/// temporary folder, and recorded by a link in the cache folder, where only
/// the user can write, so every start finds the same one.
std::optional<QString> ShortFolder(const QString& home)
{
    const QString link = home + QStringLiteral("/short");
    const auto recorded = [&]() -> std::optional<QString> {
        const QString target = LinkTarget(link);
        if (!target.isEmpty() && HoldsSockets(target) && IsPrivateFolder(target))
            return target;
        return std::nullopt;
    };
    if (auto found = recorded())
        return found;
    // Two starts at once must settle on one folder.
    QLockFile making(home + QStringLiteral("/short.lock"));
    if (!making.tryLock(kShortFolderLockMs))
        return std::nullopt;
    if (auto found = recorded())
        return found;
    for (const QString& temp : {QDir::tempPath(), QStringLiteral("/tmp")}) {
        QByteArray made = QFile::encodeName(temp + QStringLiteral("/tvx-XXXXXX"));
        if (!::mkdtemp(made.data()))
            continue;
        const QString folder = QFile::decodeName(made);
        const QByteArray fresh = QFile::encodeName(link + QStringLiteral(".new"));
        ::unlink(fresh.constData());
        // Replaced in one step: a start sees the old link or the new one.
        if (HoldsSockets(folder) && ::symlink(made.constData(), fresh.constData()) == 0 &&
            ::rename(fresh.constData(), QFile::encodeName(link).constData()) == 0)
            return folder;
        ::unlink(fresh.constData());
        ::rmdir(made.constData());
    }
    return std::nullopt;
}

/// The user's own folder under the cache folder, when the session has none.
std::optional<QString> HomeFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return std::nullopt;
    const QString parent = cache + QStringLiteral("/Harrowmere/Tollivex");
    if (!QDir().mkpath(parent))
        return std::nullopt;
    auto folder = MadePrivate(parent + QStringLiteral("/run-") + HostTag());
    if (!folder || HoldsSockets(*folder))
        return folder;
    // Without a short folder the lock still keeps one program per user; only
    // the sockets (showing the running window, the monitor) cannot be had.
    return ShortFolder(*folder).value_or(*folder);
}

std::optional<QString> OwnFolder()
{
    if (auto home = HomeFolder())
        return home;
    // No home to keep it in: the temporary folder's, which someone else may
    // have taken first; then it fails the check and none is used.
    return MadePrivate(QDir::tempPath() + QStringLiteral("/tollivex-") + QString::number(::geteuid()));
}

#endif

} // namespace

std::optional<QString> RuntimeFolder()
{
    const QString chosen = QString::fromStdString(seams::RuntimeFolder());
    if (!chosen.isEmpty())
        return IsPrivateFolder(chosen) ? std::optional<QString>(chosen) : std::nullopt;
    const QString session = qEnvironmentVariable("XDG_RUNTIME_DIR");
#ifdef _WIN32
    if (!session.isEmpty() && IsPrivateFolder(session))
        return session;
#else
    if (!session.isEmpty() && HoldsSockets(session) && IsPrivateFolder(session))
        return session;
#endif
    return OwnFolder();
}

} // namespace tollivex::platform
