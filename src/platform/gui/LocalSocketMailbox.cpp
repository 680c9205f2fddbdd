#include "platform/gui/LocalSocketMailbox.h"

#include "platform/gui/QtControls.h"
#include "platform/window/MailboxChannel.h"
#include "platform/window/RuntimeFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <atomic>

namespace tollivex::platform {

namespace {

// Enough for every main window a user will ever have open at once.
constexpr int kIdentityAttempts = 64;

std::atomic<quint32> nextWindowNumber{1};

/// Unique among the running main windows: the process id and a count of the
/// mailboxes this process has made.
QString NextIdentity()
{
    const quint64 pid = static_cast<quint64>(QCoreApplication::applicationPid());
    const quint64 number = nextWindowNumber.fetch_add(1) & 0xFFFFu;
    return QString::number((pid << 16) | number);
}

/// A server name left behind by a program that crashed is taken over; one in
/// use by a running program is not.
bool NameIsInUse(const QString& name)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    const bool answered = probe.waitForConnected(200);
    probe.abort();
    return answered;
}

/// Mailbox names left by programs that were killed are removed, so they do
/// not pile up in the user's runtime folder.
void RemoveDeadMailboxNames()
{
#ifndef _WIN32
    const auto runtime = RuntimeFolder();
    if (!runtime)
        return;
    const QDir folder(*runtime);
    const QStringList names = folder.entryList({QStringLiteral("tollivex-mailbox-*")}, QDir::System | QDir::Files);
    for (const QString& name : names) {
        QLocalSocket probe;
        probe.connectToServer(folder.filePath(name));
        if (!probe.waitForConnected(100) && probe.error() == QLocalSocket::ConnectionRefusedError)
            QLocalServer::removeServer(folder.filePath(name));
        probe.abort();
    }
#endif
}

} // namespace

LocalSocketMailbox::LocalSocketMailbox() : server_(std::make_unique<QLocalServer>())
{
    // Only this user's programs may deliver addresses into the queue.
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] { Accept(); });
    identity_ = NextIdentity().toStdString(); // replaced when a name is taken
    Open();
}

bool LocalSocketMailbox::Open()
{
    if (server_->isListening())
        return true;
    if (!RuntimeFolder())
        return false;
    RemoveDeadMailboxNames();
    for (int attempt = 0; attempt < kIdentityAttempts; ++attempt) {
        const QString identity = NextIdentity();
        const QString name = MailboxServerName(identity);
        if (!server_->listen(name)) {
            if (server_->serverError() != QAbstractSocket::AddressInUseError || NameIsInUse(name))
                continue;
            QLocalServer::removeServer(name);
            if (!server_->listen(name))
                continue;
        }
        identity_ = identity.toStdString();
        return true;
    }
    return false; // nothing listens: deliveries go nowhere
}

void LocalSocketMailbox::Close()
{
    // A watcher still starting up for this identity finds no name to reach,
    // and one connected now loses its connection: both end.
    server_->close();
    for (auto& [socket, reader] : readers_) {
        socket->disconnect(server_.get());
        socket->abort();
        socket->deleteLater();
    }
    readers_.clear();
    pending_.clear();
}

LocalSocketMailbox::~LocalSocketMailbox()
{
    // No socket may report into a half-destroyed mailbox.
    for (auto& [socket, reader] : readers_)
        socket->disconnect();
    server_->disconnect();
    server_->close();
    server_.reset();
}

std::string LocalSocketMailbox::Identity() const { return identity_; }

const std::string& LocalSocketMailbox::Text() const { return text_; }

void LocalSocketMailbox::SetText(const std::string& text)
{
    if (text == text_)
        return;
    text_ = text;
    if (handler_)
        handler_();
}

void LocalSocketMailbox::SetChangeHandler(std::function<void()> handler)
{
    handler_ = std::move(handler);
    if (handler_ && !pending_.empty())
        QTimer::singleShot(0, server_.get(), [this] { DeliverPending(); });
}

bool LocalSocketMailbox::Listening() const { return server_ && server_->isListening(); }

int LocalSocketMailbox::ConnectionCount() const { return static_cast<int>(readers_.size()); }

void LocalSocketMailbox::Accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        readers_[socket] = std::make_unique<DeliveryReader>();
        QObject::connect(socket, &QLocalSocket::readyRead, server_.get(), [this, socket] { Read(socket); });
        QObject::connect(socket, &QLocalSocket::disconnected, server_.get(), [this, socket] { Forget(socket); });
        if (socket->bytesAvailable() > 0)
            Read(socket);
    }
}

void LocalSocketMailbox::Read(QLocalSocket* socket)
{
    // The socket does not signal again for bytes that arrived while a report
    // ran inside this call, so they are read here before returning.
    for (;;) {
        const auto found = readers_.find(socket);
        if (found == readers_.end() || socket->bytesAvailable() <= 0)
            return;
        DeliveryReader& reader = *found->second;
        reader.Append(socket->readAll());
        while (const auto delivery = reader.Next()) {
            // Longer, binary or broken texts are never queued.
            if (const auto text = DeliverableText(*delivery))
                pending_.push_back(text->toStdString());
        }
        if (reader.Broken()) {
            Forget(socket);
            socket->abort();
        }
        DeliverPending();
    }
}

void LocalSocketMailbox::Forget(QLocalSocket* socket)
{
    if (readers_.erase(socket) == 0)
        return;
    socket->disconnect(server_.get());
    socket->deleteLater();
}

void LocalSocketMailbox::DeliverPending()
{
    // A report may let window events run; deliveries arriving meanwhile wait
    // their turn instead of replacing the text under the running report.
    if (delivering_ || !handler_)
        return;
    delivering_ = true;
    while (!pending_.empty() && handler_) {
        text_ = std::move(pending_.front());
        pending_.pop_front();
        try {
            handler_();
        } catch (...) {
            // The report's own failure; the next delivery still comes.
        }
    }
    delivering_ = false;
}

std::unique_ptr<Mailbox> CreateMailbox() { return std::make_unique<LocalSocketMailbox>(); }

} // namespace tollivex::platform
