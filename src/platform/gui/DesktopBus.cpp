// The desktop's services on the session bus: its notification service and
// its file manager. Where Qt has no D-Bus (Windows), no notification is shown
// and a file's folder is opened instead of the file being shown in it.

#include "platform/gui/DesktopNotifier.h"
#include "platform/gui/FileManager.h"
#include "platform/window/Desktop.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QObject>
#include <QString>

#include <map>

#ifdef TOLLIVEX_DESKTOP_BUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>
#endif

namespace tollivex::platform {

namespace {

std::string FolderOf(const std::string& file)
{
    return QFileInfo(QString::fromStdString(file)).absolutePath().toStdString();
}

#ifdef TOLLIVEX_DESKTOP_BUS

const QString kNotifications = QStringLiteral("org.freedesktop.Notifications");
const QString kNotificationsPath = QStringLiteral("/org/freedesktop/Notifications");
// A service slow to start still gets time; one that never answers is given up.
constexpr int kAnswerMs = 10000;

QDBusConnection SessionBus()
{
    // The address the environment names now, one connection per address (the
    // bus library would keep the first one it read): the bus of a test's own
    // desktop is reached, not the one met first.
    const QString address = QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS"));
    const QString name = QStringLiteral("tollivex:") + address;
    if (address.isEmpty())
        return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
    return QDBusConnection::connectToBus(address, name);
}

// Runs `onAnswer` with the answer to `call` when it comes, on the window thread.
template <typename OnAnswer>
void CallAsync(QDBusConnection& bus, const QDBusMessage& call, QObject* context, OnAnswer onAnswer)
{
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kAnswerMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [onAnswer](QDBusPendingCallWatcher* done) {
        onAnswer(*done);
        done->deleteLater();
    });
}

class BusNotifier final : public QObject, public DesktopNotifier {
    Q_OBJECT
public:
    std::uint32_t Show(const std::string& title, const std::string& body, NoticeKind kind,
                       std::uint32_t replaces) override
    {
        if (!Connect())
            return 0;
        static const char* const kCategory[] = {"transfer.complete", "transfer.error", "transfer"};
        QVariantMap hints;
        hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("org.example.tollivex.Tollivex"));
        hints.insert(QStringLiteral("category"), QString::fromLatin1(kCategory[static_cast<int>(kind)]));
        // The replaced notification's number passes to the new one; one the
        // service has not numbered yet goes away once it has.
        quint32 replacesId = 0;
        if (auto replaced = notices_.find(replaces); replaced != notices_.end()) {
            if (replaced->second.id != 0) {
                replacesId = replaced->second.id;
                notices_.erase(replaced);
            } else {
                replaced->second.closeWhenShown = true;
            }
        }
        QDBusMessage call = QDBusMessage::createMethodCall(kNotifications, kNotificationsPath, kNotifications,
                                                           QStringLiteral("Notify"));
        // A click on the notification itself is its "default" action.
        call << QStringLiteral("Tollivex") << replacesId << QStringLiteral("org.example.tollivex.Tollivex")
             << QString::fromStdString(title) << QString::fromStdString(body)
             << QStringList{QStringLiteral("default"), QStringLiteral("Show")} << hints << qint32(-1);
        const std::uint32_t number = next_++;
        notices_[number] = {};
        CallAsync(bus_, call, this, [this, number](QDBusPendingCallWatcher& done) {
            const QDBusPendingReply<quint32> reply = done;
            auto notice = notices_.find(number);
            if (notice == notices_.end())
                return;
            if (reply.isError()) {
                notices_.erase(notice); // no service: nothing was shown
                return;
            }
            notice->second.id = reply.value();
            if (notice->second.closeWhenShown)
                Close(number);
        });
        return number;
    }

    void Close(std::uint32_t number) override
    {
        auto notice = notices_.find(number);
        if (notice == notices_.end())
            return;
        // Asked before the service gave its number: closed once it has.
        if (notice->second.id == 0) {
            notice->second.closeWhenShown = true;
            return;
        }
        QDBusMessage call = QDBusMessage::createMethodCall(kNotifications, kNotificationsPath, kNotifications,
                                                           QStringLiteral("CloseNotification"));
        call << notice->second.id;
        bus_.send(call);
        notices_.erase(notice);
    }

    void SetClickHandler(std::function<void(std::uint32_t notice)> handler) override { click_ = std::move(handler); }

private slots:
    void OnActionInvoked(quint32 id, const QString& action)
    {
        if (action != QStringLiteral("default"))
            return;
        for (const auto& [number, notice] : notices_) {
            if (notice.id == id) {
                if (click_)
                    click_(number);
                return;
            }
        }
    }
    void OnClosed(quint32 id, quint32 /*reason*/)
    {
        for (auto notice = notices_.begin(); notice != notices_.end(); ++notice) {
            if (notice->second.id == id) {
                notices_.erase(notice);
                return;
            }
        }
    }

private:
    bool Connect()
    {
        if (connected_)
            return bus_.isConnected();
        connected_ = true;
        bus_ = SessionBus();
        if (!bus_.isConnected())
            return false;
        bus_.connect(kNotifications, kNotificationsPath, kNotifications, QStringLiteral("ActionInvoked"), this,
                     SLOT(OnActionInvoked(quint32, QString)));
        bus_.connect(kNotifications, kNotificationsPath, kNotifications, QStringLiteral("NotificationClosed"), this,
                     SLOT(OnClosed(quint32, quint32)));
        return true;
    }

    struct Notice {
        quint32 id = 0; // the service's number, 0 until it answered
        bool closeWhenShown = false;
    };
    QDBusConnection bus_{QString()};
    bool connected_ = false;
    std::map<std::uint32_t, Notice> notices_;
    std::uint32_t next_ = 1;
    std::function<void(std::uint32_t)> click_;
};

#else

class BusNotifier final : public DesktopNotifier {
public:
    std::uint32_t Show(const std::string&, const std::string&, NoticeKind, std::uint32_t) override { return 0; }
    void Close(std::uint32_t) override {}
    void SetClickHandler(std::function<void(std::uint32_t)>) override {}
};

#endif

} // namespace

std::unique_ptr<DesktopNotifier> CreateDesktopNotifier() { return std::make_unique<BusNotifier>(); }

void ShowInFileManager(const std::vector<std::string>& files)
{
    if (files.empty())
        return;
    const std::string folder = FolderOf(files.front());
#ifdef TOLLIVEX_DESKTOP_BUS
    QDBusConnection bus = SessionBus();
    if (bus.isConnected()) {
        QStringList uris;
        for (const std::string& file : files)
            uris << QUrl::fromLocalFile(QString::fromStdString(file)).toString(QUrl::FullyEncoded);
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
        call << uris << QString();
        // Where no file manager takes the call, the folder opens as any document would.
        CallAsync(bus, call, QCoreApplication::instance(), [folder](QDBusPendingCallWatcher& done) {
            if (done.isError())
                ShellOpen(folder);
        });
        return;
    }
#endif
    ShellOpen(folder);
}

} // namespace tollivex::platform

#ifdef TOLLIVEX_DESKTOP_BUS
#include "DesktopBus.moc"
#endif
