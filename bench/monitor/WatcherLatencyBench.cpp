// How long a copied address takes to reach the main window's mailbox through
// the watcher: from starting xclip with the text to the mailbox's report.
// Fifty copies; prints the median and the worst. Needs an X display.

#include "platform/FileSystem.h"
#include "platform/gui/LocalSocketMailbox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    constexpr int kCopies = 50;
    QTemporaryDir runtime(QStringLiteral("/tmp/tvx-bench-XXXXXX"));
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QGuiApplication app(argc, argv);

    tollivex::platform::LocalSocketMailbox mailbox;
    int arrived = 0;
    mailbox.SetChangeHandler([&] {
        if (!mailbox.Text().empty()) {
            ++arrived;
            mailbox.SetText("");
        }
    });

    QProcess watcher;
    watcher.setProcessChannelMode(QProcess::ForwardedChannels);
    watcher.start(QString::fromStdString(tollivex::platform::JoinPath(tollivex::platform::ProgramFolder(), "clip")),
                  {QString::fromStdString(mailbox.Identity())});
    if (!WaitUntil([&] { return mailbox.ConnectionCount() == 1; }, 10000)) {
        std::fprintf(stderr, "the watcher did not connect\n");
        return 1;
    }

    std::vector<double> latenciesMs;
    std::vector<std::unique_ptr<QProcess>> owners;
    for (int i = 0; i < kCopies; ++i) {
        const int before = arrived;
        QElapsedTimer clock;
        clock.start();
        auto owner = std::make_unique<QProcess>();
        owner->start(QStringLiteral("xclip"),
                     {QStringLiteral("-quiet"), QStringLiteral("-selection"), QStringLiteral("clipboard")});
        owner->waitForStarted();
        owner->write(QStringLiteral("http://www.youtube.com/watch?v=bench%1").arg(i).toUtf8());
        owner->closeWriteChannel();
        if (!WaitUntil([&] { return arrived > before; }, 5000)) {
            std::fprintf(stderr, "copy %d never arrived\n", i);
            return 1;
        }
        latenciesMs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        owners.push_back(std::move(owner));
        QThread::msleep(50);
    }
    for (auto& owner : owners)
        if (owner->state() != QProcess::NotRunning) {
            owner->kill();
            owner->waitForFinished();
        }
    watcher.kill();
    watcher.waitForFinished();

    if (qEnvironmentVariableIsSet("BENCH_VERBOSE"))
        for (double ms : latenciesMs)
            std::printf("%.3f\n", ms);
    std::sort(latenciesMs.begin(), latenciesMs.end());
    const double median = (latenciesMs[kCopies / 2 - 1] + latenciesMs[kCopies / 2]) / 2;
    std::printf("copies: %d\nmedian: %.1f ms\nworst: %.1f ms\nbest: %.1f ms\n", kCopies, median, latenciesMs.back(),
                latenciesMs.front());
    return 0;
}
