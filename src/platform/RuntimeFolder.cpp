#include "platform/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tollivex::platform {

namespace {

bool IsPrivateFolder(const QString& folder)
{
#ifdef _WIN32
    // Per-user folders on Windows are closed to other users by their owner rights.
    return QDir(folder).exists();
#else
    struct stat info {};
    if (::lstat(QFile::encodeName(folder).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
#endif
}

/// The folder the program makes for itself when the session gives it none.
std::optional<QString> OwnFolder()
{
#ifdef _WIN32
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return std::nullopt;
    return folder;
#else
    const QString folder = QDir::tempPath() + QStringLiteral("/tollivex-") + QString::number(::geteuid());
    // Made closed from the start; a folder of that name made by someone else
    // fails the check below and is not used.
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    if (!IsPrivateFolder(folder))
        return std::nullopt;
    return folder;
#endif
}

} // namespace

std::optional<QString> RuntimeFolder()
{
    const QString chosen = qEnvironmentVariable("TOLLIVEX_RUNTIME_DIR");
    if (!chosen.isEmpty())
        return IsPrivateFolder(chosen) ? std::optional<QString>(chosen) : std::nullopt;
    const QString session = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!session.isEmpty() && IsPrivateFolder(session))
        return session;
    return OwnFolder();
}

} // namespace tollivex::platform
