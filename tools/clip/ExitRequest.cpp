#include "ExitRequest.h"

#include "platform/window/MailboxChannel.h"

#include <QFile>
#include <QLocalSocket>
#include <QLockFile>

namespace tollivex::clip {

namespace {
constexpr int kConnectWaitMs = 1000;
// A watcher ends within a few milliseconds of being told.
constexpr int kEndWaitMs = 3000;
} // namespace

int EndRunningWatchers()
{
    for (const QString& identity : platform::WatcherIdentities()) {
        QLocalSocket control;
        control.connectToServer(platform::WatcherControlName(identity));
        if (control.waitForConnected(kConnectWaitMs)) {
            control.write("exit\n");
            control.flush();
            control.waitForBytesWritten(kConnectWaitMs);
            // The watcher closes the connection as it ends.
            if (control.state() == QLocalSocket::ConnectedState)
                control.waitForDisconnected(kEndWaitMs);
            continue;
        }
        // Nobody listens: a lock left behind by a watcher that died is cleared.
        QLockFile lock(platform::WatcherLockFile(identity));
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            lock.unlock();
    }
    return 0;
}

} // namespace tollivex::clip
