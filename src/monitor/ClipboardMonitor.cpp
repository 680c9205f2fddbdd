// The clipboard monitor: the watcher program that delivers into txtMonitor,
// and the polling of the clipboard on tmrMonitor.

#include "shell/frmMain.h"

#include "shell/Guarded.h"

#include "platform/FileSystem.h"
#include "platform/window/Desktop.h"
#include "platform/window/Mailbox.h"
#include "platform/window/MessageBox.h"
#include "resolve/SiteCode.h"

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

void frmMain::Monitor(bool bState)
{
    // Off: the mailbox closes first, so no watcher, not even one still
    // starting up, delivers after the switch. On: it opens under a new identity.
    bool listening = false;
    Guarded([&] {
        if (bState)
            listening = txtMonitor().Open();
        else
            txtMonitor().Close();
    });
    if (bState && !listening) {
        // No private folder for the watcher's names: it cannot run, and the
        // switch stays off rather than showing a monitor that catches nothing.
        bUrlMonitor = false;
        Guarded([&] { SetMovieVariable("_root.autoToDownloadList_CB", "0"); });
        frmMenu.mnuMonitorChecked = false;
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
        platform::LaunchProgram(watcher, {bState ? txtMonitor().Identity() : std::string("Exit")});
    });
    bUrlMonitor = bState;
}

void frmMain::txtMonitor_Change()
{
    // Emptying the box below reports a change too; that one ends here.
    const std::string text = txtMonitor().Text();
    if (text.empty())
        return;
    // Whatever the watcher delivers is queued; the queue marks what it cannot download.
    Guarded([&] { AddVideoUrl(text); });
    Guarded([&] { SetMovieVariable("_root.video_url", text); });
    // During a run the walk picks the new item up by itself.
    Guarded([&] {
        if (!bDownloading)
            tmrDownload.SetEnabled(true);
    });
    Guarded([&] { txtMonitor().SetText(""); });
}

void frmMain::tmrMonitor_Timer()
{
    std::string text;
    Guarded([&] { text = platform::ClipboardText(); });
    if (text != sLastClipboard) {
        bool supported = false;
        Guarded([&] { supported = GetSiteCode(text) != -1; });
        if (supported) {
            Guarded([&] { AddVideoUrl(text); });
            Guarded([&] { SetMovieVariable("_root.video_url", text); });
            // Taken before the run starts: passes nested inside the run skip it.
            sLastClipboard = text;
            Guarded([&] {
                // Inside a rebuild the start waits for its end, through tmrDownload.
                if (!bDownloading && bFillingList())
                    tmrDownload.SetEnabled(true);
                else if (!bDownloading)
                    cmdStartDownload_Click();
            });
        }
    }
    sLastClipboard = text;
}

void frmMain::chkMonitor_Click()
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
