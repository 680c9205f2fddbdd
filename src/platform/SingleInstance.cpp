#include "platform/SingleInstance.h"

#include "platform/RuntimeFolder.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

namespace tollivex::platform {

namespace {

const QString kInstanceName = QStringLiteral("tollivex-instance");
constexpr char kShowRequest[] = "show\n";
constexpr char kShowAnswer[] = "shown\n";
// A running program that has just taken the lock may need a moment before it
// listens; one that does not answer within this time is left alone all the same.
constexpr int kReachMs = 5000;

/// Asks the running program to show its window; true once it has answered.
bool AskToShow(const QString& name)
{
    const QDeadlineTimer deadline(kReachMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(500)) {
            socket.write(kShowRequest);
            socket.flush();
            while (!socket.canReadLine() && socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            }
            return socket.canReadLine() && socket.readLine() == kShowAnswer;
        }
        QThread::msleep(50);
    }
    return false;
}

} // namespace

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance()
{
    if (server_)
        server_->close();
    if (lock_)
        lock_->unlock();
}

SingleInstance::Claim SingleInstance::Take()
{
    const auto folder = RuntimeFolder();
    if (!folder)
        return Claim::Unguarded;
    const QString name = *folder + QLatin1Char('/') + kInstanceName;
    lock_ = std::make_unique<QLockFile>(name + QStringLiteral(".lock"));
    // Only a dead owner makes the lock stale, however long a program runs.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        const bool held = lock_->error() == QLockFile::LockFailedError;
        lock_.reset();
        if (!held)
            return Claim::Unguarded;
        AskToShow(name);
        return Claim::AlreadyRunning;
    }
    // The lock is ours, so a name still there was left by a program that died.
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(name);
    if (!server_->listen(name))
        return Claim::First; // later starts then find the lock and leave without showing us
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] { Accept(); });
    return Claim::First;
}

void SingleInstance::SetShowRequestHandler(std::function<void()> handler) { showRequest_ = std::move(handler); }

void SingleInstance::Accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() != kShowRequest)
                    continue;
                if (showRequest_)
                    showRequest_();
                socket->write(kShowAnswer);
                socket->flush();
            }
        });
    }
}

} // namespace tollivex::platform
