#include "platform/window/SingleInstance.h"

#include "platform/window/RuntimeFolder.h"

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
constexpr char kEndingAnswer[] = "ending\n";
// A program that has just taken the lock may need a moment before it listens,
// and one that is ending a moment before it is gone: a later start waits this
// long for either before it tells the user.
constexpr int kReachMs = 5000;
// The lock is looked at again after each step of at most this long.
constexpr int kStepMs = 100;
constexpr int kPauseMs = 50;

enum class Answer { None, Shown, Ending };

/// One step of asking the running program to show its window, over one
/// connection kept until it answers or closes: the program is asked once.
Answer AskStep(std::unique_ptr<QLocalSocket>& socket, const QString& name)
{
    if (!socket) {
        socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(name);
        if (!socket->waitForConnected(kStepMs)) {
            socket.reset();
            return Answer::None;
        }
        socket->write(kShowRequest);
        socket->flush();
    }
    if (!socket->canReadLine())
        socket->waitForReadyRead(kStepMs);
    if (socket->canReadLine()) {
        const QByteArray line = socket->readLine();
        socket.reset();
        return line == kShowAnswer ? Answer::Shown : line == kEndingAnswer ? Answer::Ending : Answer::None;
    }
    if (socket->state() != QLocalSocket::ConnectedState)
        socket.reset(); // closed unanswered: asked again on a new connection
    return Answer::None;
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
    name_ = *folder + QLatin1Char('/') + kInstanceName;
    lock_ = std::make_unique<QLockFile>(name_ + QStringLiteral(".lock"));
    // Only a dead owner makes the lock stale, however long a program runs.
    lock_->setStaleLockTime(0);
    const QDeadlineTimer deadline(kReachMs);
    std::unique_ptr<QLocalSocket> asking;
    bool ending = false;
    for (;;) {
        if (lock_->tryLock(0))
            return Listen();
        if (lock_->error() != QLockFile::LockFailedError) {
            lock_.reset();
            return Claim::Unguarded;
        }
        if (deadline.hasExpired()) {
            lock_.reset();
            return Claim::Unreachable;
        }
        if (!ending) {
            const Answer answer = AskStep(asking, name_);
            if (answer == Answer::Shown) {
                lock_.reset();
                return Claim::AlreadyRunning;
            }
            ending = answer == Answer::Ending;
        }
        if (ending || !asking)
            QThread::msleep(kPauseMs);
    }
}

SingleInstance::Claim SingleInstance::Listen()
{
    // The lock is ours, so a name still there was left by a program that died.
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(name_);
    if (!server_->listen(name_))
        return Claim::First; // later starts then find the lock and cannot reach us
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] { Accept(); });
    return Claim::First;
}

void SingleInstance::SetShowRequestHandler(std::function<bool()> handler) { showRequest_ = std::move(handler); }

void SingleInstance::Accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() != kShowRequest)
                    continue;
                // Still starting up, the window shows by itself.
                const bool shown = !showRequest_ || showRequest_();
                socket->write(shown ? kShowAnswer : kEndingAnswer);
                socket->flush();
            }
        });
    }
}

} // namespace tollivex::platform
