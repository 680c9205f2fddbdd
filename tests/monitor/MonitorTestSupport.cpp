#include "MonitorTestSupport.h"

#include "platform/FileSystem.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace tollivex::test {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

void UsePrivateRuntimeFolder()
{
    // Short path: Unix socket names are limited to about a hundred bytes.
    static QTemporaryDir folder(QStringLiteral("/tmp/tvx-rt-XXXXXX"));
    qputenv("XDG_RUNTIME_DIR", folder.path().toLocal8Bit());
}

QString WatcherProgram() { return QString::fromStdString(platform::JoinPath(platform::ProgramFolder(), "clip")); }

CpuLoad::CpuLoad()
{
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < cores; ++i)
        spinners_.emplace_back([this] {
#ifdef __linux__
            // Background work, as a build beside the user: it takes every idle
            // moment but leaves the programs the user works with first in line.
            setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
#endif
            volatile unsigned long spin = 0;
            while (!stop_.load(std::memory_order_relaxed))
                spin = spin + 1;
        });
}

CpuLoad::~CpuLoad()
{
    stop_ = true;
    for (auto& spinner : spinners_)
        spinner.join();
}

XClipboard::~XClipboard()
{
    for (auto& owner : owners_) {
        if (owner->state() != QProcess::NotRunning) {
            owner->kill();
            owner->waitForFinished(2000);
        }
    }
}

void XClipboard::Set(const QString& text, const QString& selection)
{
    // In the foreground, so each owner is ours to end; it ends by itself
    // when the next text takes the clipboard.
    auto owner = std::make_unique<QProcess>();
    owner->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    owner->start(QStringLiteral("xclip"), {QStringLiteral("-quiet"), QStringLiteral("-selection"), selection});
    owner->waitForStarted(5000);
    owner->write(text.toUtf8());
    owner->closeWriteChannel();
    owner->waitForBytesWritten(2000);
    // A copy is done once the new owner serves the text. Returning earlier
    // would let two owners started one after the other take the clipboard in
    // the wrong order: not something a user copying by hand can do.
    const QClipboard::Mode mode = selection == QStringLiteral("primary") ? QClipboard::Selection
                                                                         : QClipboard::Clipboard;
    WaitUntil([&] { return QGuiApplication::clipboard()->text(mode) == text; }, 5000);
    // Drop the owners that have ended already.
    owners_.erase(std::remove_if(owners_.begin(), owners_.end(),
                                 [](const auto& p) { return p->state() == QProcess::NotRunning; }),
                  owners_.end());
    owners_.push_back(std::move(owner));
}

} // namespace tollivex::test
