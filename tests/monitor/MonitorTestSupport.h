#pragma once
// Helpers of the monitor tests: waiting on the event loop, a private runtime
// folder so watchers of other test programs never meet ours, and setting the
// real X clipboard with xclip.

#include <QProcess>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tollivex::test {

/// Runs window events until `done` holds or `timeoutMs` pass; true when it held.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs);

/// Points XDG_RUNTIME_DIR (inherited by the watchers started) at a fresh
/// private folder for the life of the test program.
void UsePrivateRuntimeFolder();

/// The watcher program beside the test programs.
QString WatcherProgram();

/// Keeps every core busy for its lifetime (one spinning thread per core).
class CpuLoad {
public:
    CpuLoad();
    ~CpuLoad();
    CpuLoad(const CpuLoad&) = delete;
    CpuLoad& operator=(const CpuLoad&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> spinners_;
};

/// Owns the xclip processes that serve the texts it puts on the clipboard.
class XClipboard {
public:
    ~XClipboard();
    /// Puts the text on the X selection ("clipboard" or "primary"); returns
    /// once xclip has read it.
    void Set(const QString& text, const QString& selection = QStringLiteral("clipboard"));

private:
    std::vector<std::unique_ptr<QProcess>> owners_;
};

} // namespace tollivex::test
