// EndMe and the deferred exit of the tray menu.
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/TrayIcon.h"
#include "shell/frmMain.h"

namespace tollivex {

void frmMain::EndMe()
{
    if (bEnded_)
        return;
    // After a confirmed stop the captions already say "Start Downloading":
    // running the toggle again would start a second run inside the first.
    RunState& run = Scheduler.State();
    if (run.bDownloading() && !run.bStopRequested())
        Scheduler.cmdStartDownload_Click();

    bEnded_ = true;
    Scheduler.tmrDownload.SetEnabled(false);
    tmrend.SetEnabled(false);

    // Whatever the answer was, the run must not go on: every wait of the
    // transfer ends at once, and what it wrote stays under ".part", never
    // under the video's name.
    if (run.bDownloading()) {
        run.RequestStop();
        Download.CancelDownload();
    }

    StopHook();
    Monitor(false);
    Clipboard.tmrMonitor.SetEnabled(false);
    frmMenu.Loaded = false;
    // The icon goes with the program, not when the process is gone.
    SysTray().SetInTray(false);
    Window().EndProgram();
}

void frmMain::EndOnRequest()
{
    if (Scheduler.State().bDownloading())
        Scheduler.State().RequestStop();
    EndMe();
}

void frmMain::tmrend_Timer()
{
    tmrend.SetEnabled(false);
    EndMe();
}

} // namespace tollivex
