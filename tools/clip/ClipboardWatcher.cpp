#include "ClipboardWatcher.h"

#include "platform/window/MailboxChannel.h"
#include "platform/window/RuntimeFolder.h"
#include "resolve/SiteCode.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

namespace tollivex::clip {

namespace {
// How often the watcher makes sure the main window still listens.
constexpr int kLivenessMs = 1000;
constexpr int kConnectWaitMs = 2000;
} // namespace

ClipboardWatcher::ClipboardWatcher(const QString& identity)
    : identity_(identity), lock_(platform::WatcherLockFile(identity))
{
    // A watcher runs for hours; only a dead owner makes its lock stale.
    lock_.setStaleLockTime(0);
}

bool ClipboardWatcher::Start()
{
    // Names in a folder others can write to could be taken first by them.
    if (!platform::RuntimeFolder())
        return false;
    if (!lock_.tryLock(0))
        return false; // this mailbox already has its watcher

    const QString controlName = platform::WatcherControlName(identity_);
    control_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!control_.listen(controlName)) {
        // We hold the lock, so the name was left behind by a watcher that died.
        QLocalServer::removeServer(controlName);
        if (!control_.listen(controlName))
            return false;
    }
    connect(&control_, &QLocalServer::newConnection, this, &ClipboardWatcher::AcceptControl);

    if (!ConnectMailbox())
        return false;
    connect(&mailbox_, &QLocalSocket::disconnected, this, &ClipboardWatcher::CheckMailbox, Qt::QueuedConnection);
    connect(&liveness_, &QTimer::timeout, this, &ClipboardWatcher::CheckMailbox);
    liveness_.start(kLivenessMs);

    // The first read sets up what every later one uses (atoms, the mime
    // machinery): done now, the first copy is read as quickly as the next.
    if (const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard))
        (void)data->text();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &ClipboardWatcher::ClipboardChanged);
    return true;
}

bool ClipboardWatcher::ConnectMailbox()
{
    mailbox_.abort();
    mailbox_.connectToServer(platform::MailboxServerName(identity_));
    return mailbox_.waitForConnected(kConnectWaitMs);
}

void ClipboardWatcher::ClipboardChanged()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText())
        return;
    // Only an address of a supported site: the polling takes no other, and a
    // copied link to any page would otherwise be queued and start a run.
    const auto address = platform::AddressFromClipboard(data->text());
    if (!address || GetSiteCode(address->toStdString()) == siteNone)
        return;
    if (mailbox_.state() != QLocalSocket::ConnectedState && !ConnectMailbox()) {
        QCoreApplication::quit();
        return;
    }
    mailbox_.write(platform::FrameDelivery(*address));
    mailbox_.flush();
}

void ClipboardWatcher::AcceptControl()
{
    while (QLocalSocket* socket = control_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [socket] {
            while (socket->canReadLine())
                if (socket->readLine().trimmed() == "exit")
                    QCoreApplication::quit();
        });
    }
}

void ClipboardWatcher::CheckMailbox()
{
    // The main window is gone when its mailbox no longer answers.
    if (mailbox_.state() == QLocalSocket::ConnectedState)
        return;
    if (!ConnectMailbox())
        QCoreApplication::quit();
}

} // namespace tollivex::clip
