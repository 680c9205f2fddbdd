// The clipboard monitor: the watcher program that delivers into txtMonitor,
// and the polling of the clipboard on tmrMonitor.

#include "monitor/ClipboardMonitor.h"

#include "platform/FileSystem.h"
#include "platform/window/Desktop.h"
#include "platform/window/Mailbox.h"
#include "platform/window/MessageBox.h"
#include "resolve/SiteCode.h"
#include "scheduler/DownloadScheduler.h"
#include "scheduler/Guarded.h"
#include "settings/AppSettings.h"

namespace tollivex {

namespace {

#ifdef _WIN32
constexpr const char* kWatcherFile = "Clip.exe";
#else
constexpr const char* kWatcherFile = "clip";
#endif

constexpr const char* kMonitorRefusal =
    "The clipboard monitor cannot run: there is no folder private to you for its connection "
    "(the runtime folder is missing, shared or owned by someone else). Copied addresses are not caught; "
    "add them by hand.";

} // namespace

ClipboardMonitor::ClipboardMonitor(platform::Mailbox& mailbox, DownloadScheduler& scheduler, MonitorHost& host)
    : mailbox_(mailbox), scheduler_(scheduler), host_(host)
{
    mailbox_.SetChangeHandler([this] { Guarded([&] { txtMonitor_Change(); }); });
    tmrMonitor.SetOnTick([this] { Guarded([&] { tmrMonitor_Timer(); }); });
}

ClipboardMonitor::~ClipboardMonitor()
{
    // No delivery or tick may reach a half-destroyed monitor.
    tmrMonitor.SetEnabled(false);
    mailbox_.SetChangeHandler(nullptr);
}

void ClipboardMonitor::Monitor(bool bState)
{
    // Off: the mailbox closes first, so no watcher, not even one still
    // starting up, delivers after the switch. On: it opens under a new identity.
    bool listening = false;
    Guarded([&] {
        if (bState)
            listening = mailbox_.Open();
        else
            mailbox_.Close();
    });
    if (bState && !listening) {
        // No private folder for the watcher's names: it cannot run, and the
        // switch stays off rather than showing a monitor that catches nothing.
        bUrlMonitor = false;
        Guarded([&] { host_.SetMovieVariable("_root.autoToDownloadList_CB", "0"); });
        host_.ShowMonitorChecked(false);
        if (!bMonitorRefusalShown) {
            bMonitorRefusalShown = true;
            Guarded([&] {
                platform::ShowMessage(kMonitorRefusal, "Tollivex", platform::MessageIcon::Exclamation,
                                      platform::MessageButtons::Ok);
            });
        }
        return;
    }
    // Whether the watcher could be started is not checked: the switch follows the user.
    Guarded([&] {
        const std::string watcher = platform::JoinPath(platform::ProgramFolder(), kWatcherFile);
        platform::LaunchProgram(watcher, {bState ? mailbox_.Identity() : std::string("Exit")});
    });
    bUrlMonitor = bState;
}

void ClipboardMonitor::txtMonitor_Change()
{
    // Emptying the box below reports a change too; that one ends here.
    const std::string text = mailbox_.Text();
    if (text.empty())
        return;
    // Whatever the watcher delivers is queued; the queue marks what it cannot download.
    Guarded([&] { host_.AddVideoUrl(text); });
    Guarded([&] { host_.SetMovieVariable("_root.video_url", text); });
    // During a run the walk picks the new item up by itself.
    Guarded([&] {
        if (!scheduler_.State().bDownloading())
            scheduler_.tmrDownload.SetEnabled(true);
    });
    Guarded([&] { mailbox_.SetText(""); });
}

void ClipboardMonitor::tmrMonitor_Timer()
{
    std::string text;
    Guarded([&] { text = platform::ClipboardText(); });
    if (text != sLastClipboard) {
        bool supported = false;
        Guarded([&] { supported = GetSiteCode(text) != -1; });
        if (supported) {
            Guarded([&] { host_.AddVideoUrl(text); });
            Guarded([&] { host_.SetMovieVariable("_root.video_url", text); });
            // Taken before the run starts: passes nested inside the run skip it.
            sLastClipboard = text;
            Guarded([&] {
                // Inside a rebuild the start waits for its end, through tmrDownload.
                const bool running = scheduler_.State().bDownloading();
                if (!running && host_.bFillingList())
                    scheduler_.tmrDownload.SetEnabled(true);
                else if (!running)
                    scheduler_.cmdStartDownload_Click();
            });
        }
    }
    sLastClipboard = text;
}

void ClipboardMonitor::chkMonitor_Click()
{
    // The text already on the clipboard counts as new once polling is switched.
    sLastClipboard.clear();
    if (!tmrMonitor.Enabled()) {
        tmrMonitor.SetEnabled(true);
        bUrlMonitor = true;
    } else {
        tmrMonitor.SetEnabled(false);
        bUrlMonitor = false;
    }
}

} // namespace tollivex
