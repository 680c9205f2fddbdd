// The registry kept in a per-user file, for systems without one.
#ifndef _WIN32

#include "platform/registry/Registry.h"
#include "platform/registry/UserStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <functional>

namespace tollivex::platform::registry {

struct KeyObject {
    QString root;
    QStringList path; // as stored, letter case included
    bool writable = false;
};

namespace {

// A store larger than this is not a settings file.
constexpr qint64 kMaxStoreBytes = 16 * 1024 * 1024;
// Writers hold the lock for a few milliseconds; one older than this was left by a crash.
constexpr int kStaleLockMs = 10000;
constexpr int kLockWaitMs = 5000;
// Access rights that change something: set value, create subkey, delete.
constexpr std::uint32_t kWriteRights = 0x0002u | 0x0004u | 0x00010000u;

const QString kKeys = QStringLiteral("keys");
const QString kValues = QStringLiteral("values");

std::string& FolderOverride()
{
    static std::string folder;
    return folder;
}

QString StorePath() { return QString::fromStdString(StoreFile()); }

QString RootName(Root root)
{
    switch (root) {
    case HKeyClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKeyCurrentUser: return QStringLiteral("HKEY_CURRENT_USER");
    case HKeyLocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case HKeyUsers: return QStringLiteral("HKEY_USERS");
    default: return {};
    }
}

/// Splits a key path at its backslashes; false when a part is empty.
bool SplitKeyPath(const std::string& subKey, QStringList& parts)
{
    parts.clear();
    if (subKey.empty())
        return true;
    parts = QString::fromStdString(subKey).split(QLatin1Char('\\'));
    for (const QString& part : parts)
        if (part.isEmpty())
            return false;
    return true;
}

/// The stored root name and the parts of `subKey` below it, or the error a key call reports.
Status LocateKey(Root root, const std::string& subKey, QString& rootName, QStringList& path)
{
    rootName = RootName(root);
    if (rootName.isEmpty())
        return ErrorInvalidHandle;
    if (!SplitKeyPath(subKey, path))
        return ErrorBadPathname;
    return ErrorSuccess;
}

/// The stored name matching `name` regardless of letter case, or a null string.
QString FindName(const QJsonObject& object, const QString& name)
{
    if (object.contains(name))
        return name;
    for (auto it = object.begin(); it != object.end(); ++it)
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.key();
    return {};
}

bool IsValidNode(const QJsonValue& value)
{
    if (!value.isObject())
        return false;
    const QJsonObject node = value.toObject();
    for (auto it = node.begin(); it != node.end(); ++it) {
        if (it.key() == kValues) {
            if (!it.value().isObject())
                return false;
            const QJsonObject values = it.value().toObject();
            for (auto v = values.begin(); v != values.end(); ++v)
                if (!v.value().isString())
                    return false;
        } else if (it.key() == kKeys) {
            if (!it.value().isObject())
                return false;
            const QJsonObject keys = it.value().toObject();
            for (auto k = keys.begin(); k != keys.end(); ++k)
                if (!IsValidNode(k.value()))
                    return false;
        } else {
            return false;
        }
    }
    return true;
}

enum class LoadResult { Missing, Loaded, Corrupt };

LoadResult LoadDocument(QJsonObject& document)
{
    document = {};
    QFile file(StorePath());
    if (!file.exists())
        return LoadResult::Missing;
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxStoreBytes)
        return LoadResult::Corrupt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return LoadResult::Corrupt;
    if (bytes.trimmed().isEmpty())
        return LoadResult::Loaded; // nothing was ever stored in it
    QJsonParseError error{};
    const QJsonDocument parsed = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !parsed.isObject())
        return LoadResult::Corrupt;
    const QJsonObject roots = parsed.object();
    for (auto it = roots.begin(); it != roots.end(); ++it)
        if (!IsValidNode(it.value()))
            return LoadResult::Corrupt;
    document = roots;
    return LoadResult::Loaded;
}

void Report(const QString& text)
{
    std::fprintf(stderr, "Tollivex: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

/// Moves an unreadable store aside so its content is kept and the settings
/// start from their defaults. The caller holds the lock. False when the file
/// could not be moved (it must then not be overwritten).
bool MoveCorruptStoreAside()
{
    static QSet<QString> reported;
    const QString path = StorePath();
    const QString backup =
        path + QStringLiteral(".corrupt-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const bool moved = QFile::rename(path, backup);
    if (moved) {
        Report(QStringLiteral("the settings store %1 could not be read; it was kept as %2 and the settings start "
                              "from their defaults.")
                   .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(backup)));
        reported.remove(path);
    } else if (!reported.contains(path)) {
        Report(QStringLiteral("the settings store %1 could not be read and could not be moved aside; the settings "
                              "use their defaults and are not saved.")
                   .arg(QDir::toNativeSeparators(path)));
        reported.insert(path);
    }
    return moved;
}

/// A store file marked read-only (or one this user cannot write) opens for reading only.
bool StoreIsReadOnly()
{
    const QFileInfo info(StorePath());
    if (!info.exists())
        return false;
    return !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner);
}

class StoreLock {
public:
    StoreLock() : lock_(StorePath() + QStringLiteral(".lock"))
    {
        lock_.setStaleLockTime(kStaleLockMs);
        locked_ = lock_.tryLock(kLockWaitMs);
    }
    bool Locked() const { return locked_; }

private:
    QLockFile lock_;
    bool locked_ = false;
};

/// The store as a reader sees it: empty when missing or unreadable.
QJsonObject ReadStore()
{
    QJsonObject document;
    if (LoadDocument(document) != LoadResult::Corrupt)
        return document;
    if (!QDir().mkpath(QString::fromStdString(StoreFolder())))
        return {};
    StoreLock lock;
    if (lock.Locked() && LoadDocument(document) == LoadResult::Corrupt)
        MoveCorruptStoreAside();
    return LoadDocument(document) == LoadResult::Loaded ? document : QJsonObject();
}

/// Re-reads the store under the lock, applies `change` and replaces the file
/// atomically when the change succeeded.
Status ChangeStore(const std::function<Status(QJsonObject&)>& change)
{
    if (!QDir().mkpath(QString::fromStdString(StoreFolder())))
        return ErrorAccessDenied;
    StoreLock lock;
    if (!lock.Locked())
        return ErrorWriteFault;
    if (StoreIsReadOnly())
        return ErrorAccessDenied;
    QJsonObject document;
    const LoadResult loaded = LoadDocument(document);
    if (loaded == LoadResult::Corrupt && !MoveCorruptStoreAside())
        return ErrorWriteFault;
    const QJsonObject before = document;
    const Status status = change(document);
    if (status != ErrorSuccess)
        return status;
    if (document == before && loaded == LoadResult::Loaded)
        return ErrorSuccess; // nothing changed: the file stays as it is

    const QString path = StorePath();
    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return ErrorAccessDenied;
    const QByteArray bytes = QJsonDocument(document).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return ErrorWriteFault;
    if (!existed) // settings are the user's own business
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return ErrorSuccess;
}

/// Walks from a root node down a key path. With `create`, missing keys are
/// added; without it, a missing key makes the walk fail. `act` runs on the
/// final key; its changes are written back along the path.
Status WalkKey(QJsonObject& document, const QString& root, const QStringList& path, bool create,
               QStringList* storedPath, const std::function<Status(QJsonObject&)>& act)
{
    std::function<Status(QJsonObject&, int)> walk = [&](QJsonObject& node, int depth) -> Status {
        if (depth == path.size())
            return act(node);
        QJsonObject keys = node.value(kKeys).toObject();
        QString name = FindName(keys, path[depth]);
        if (name.isNull()) {
            if (!create)
                return ErrorFileNotFound;
            name = path[depth];
        }
        if (storedPath)
            storedPath->append(name);
        QJsonObject child = keys.value(name).toObject();
        const Status status = walk(child, depth + 1);
        if (status == ErrorSuccess) {
            keys.insert(name, child);
            node.insert(kKeys, keys);
        }
        return status;
    };
    QString rootName = FindName(document, root);
    if (rootName.isNull()) {
        if (!create)
            return ErrorFileNotFound;
        rootName = root;
    }
    QJsonObject rootNode = document.value(rootName).toObject();
    const Status status = walk(rootNode, 0);
    if (status == ErrorSuccess)
        document.insert(rootName, rootNode);
    return status;
}

Status MakeHandle(Root root, const std::string& subKey, std::uint32_t access, bool create, KeyHandle& key)
{
    key = nullptr;
    QString rootName;
    QStringList path;
    if (const Status located = LocateKey(root, subKey, rootName, path); located != ErrorSuccess)
        return located;
    const bool wantsWrite = (access & kWriteRights) != 0;
    // A read-only store still opens keys for reading.
    if ((wantsWrite || create) && StoreIsReadOnly())
        return ErrorAccessDenied;
    QStringList stored;
    Status status;
    if (create) {
        status = ChangeStore([&](QJsonObject& document) {
            stored.clear();
            return WalkKey(document, rootName, path, true, &stored, [](QJsonObject&) { return ErrorSuccess; });
        });
    } else {
        QJsonObject document = ReadStore();
        status = WalkKey(document, rootName, path, false, &stored, [](QJsonObject&) { return ErrorSuccess; });
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
    if (!FolderOverride().empty())
        return FolderOverride();
    const QString fromEnvironment = qEnvironmentVariable("TOLLIVEX_CONFIG_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment.toStdString();
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return (base + QStringLiteral("/Tollivex")).toStdString();
}

void SetStoreFolder(const std::string& folder) { FolderOverride() = folder; }

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
    QJsonObject document = ReadStore();
    QByteArray bytes;
    bool keyFound = false;
    const Status status = WalkKey(document, key->root, key->path, false, nullptr, [&](QJsonObject& node) {
        keyFound = true;
        const QJsonObject values = node.value(kValues).toObject();
        const QString stored = FindName(values, QString::fromStdString(name));
        if (stored.isNull())
            return ErrorFileNotFound;
        bytes = values.value(stored).toString().toUtf8();
        bytes.append('\0');
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
    std::memcpy(buffer, bytes.constData(), needed);
    size = needed;
    return ErrorSuccess;
}

Status SetTextValue(KeyHandle key, const std::string& name, const std::string& text)
{
    if (!key)
        return ErrorInvalidHandle;
    if (!key->writable)
        return ErrorAccessDenied;
    return MissingKeyIsDeleted(ChangeStore([&](QJsonObject& document) {
        return WalkKey(document, key->root, key->path, false, nullptr, [&](QJsonObject& node) {
            QJsonObject values = node.value(kValues).toObject();
            QString stored = FindName(values, QString::fromStdString(name));
            if (stored.isNull())
                stored = QString::fromStdString(name);
            values.insert(stored, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
            node.insert(kValues, values);
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
    const Status status = ChangeStore([&](QJsonObject& document) {
        return WalkKey(document, key->root, key->path, false, nullptr, [&](QJsonObject& node) {
            keyFound = true;
            QJsonObject values = node.value(kValues).toObject();
            const QString stored = FindName(values, QString::fromStdString(name));
            if (stored.isNull())
                return ErrorFileNotFound;
            values.remove(stored);
            node.insert(kValues, values);
            return ErrorSuccess;
        });
    });
    return keyFound ? status : MissingKeyIsDeleted(status);
}

Status DeleteKey(Root root, const std::string& subKey)
{
    QString rootName;
    QStringList path;
    if (const Status located = LocateKey(root, subKey, rootName, path); located != ErrorSuccess)
        return located;
    if (path.isEmpty())
        return ErrorAccessDenied; // a root key is never deleted
    const QString last = path.takeLast();
    return ChangeStore([&](QJsonObject& document) {
        return WalkKey(document, rootName, path, false, nullptr, [&](QJsonObject& parent) {
            QJsonObject keys = parent.value(kKeys).toObject();
            const QString stored = FindName(keys, last);
            if (stored.isNull())
                return ErrorFileNotFound;
            if (!keys.value(stored).toObject().value(kKeys).toObject().isEmpty())
                return ErrorAccessDenied; // as the registry: subkeys go first
            keys.remove(stored);
            parent.insert(kKeys, keys);
            return ErrorSuccess;
        });
    });
}

void CloseKey(KeyHandle key) { delete key; }

} // namespace tollivex::platform::registry

#endif // !_WIN32
