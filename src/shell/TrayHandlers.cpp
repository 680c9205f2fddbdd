// The tray icon's mouse actions and the tray menu's items.
#include "platform/gui/MainWindowHost.h"
#include "shell/TrayMenuWindow.h"
#include "shell/frmMain.h"

namespace tollivex {

void frmMain::SysTray_MouseDown(int button)
{
    if (button != 2)
        return;
    Window().BringToForeground();
    frmMenu.mnuMonitorChecked = bUrlMonitor;
    switch (PopupTrayMenu(frmMenu)) {
    case TrayMenuChoice::WebVideo: mnuWebVideo_Click(); break;
    case TrayMenuChoice::Download: mnuDownload_Click(); break;
    case TrayMenuChoice::Monitor: mnuMonitor_Click(); break;
    case TrayMenuChoice::Exit: mnuExit_Click(); break;
    case TrayMenuChoice::None: break;
    }
}

void frmMain::SysTray_MouseDblClick(int button)
{
    // A visible window, minimised or not, is left as it is.
    if (button == 1 && !Window().IsVisible())
        Window().Show();
}

void frmMain::mnuWebVideo_Click() { Window().Show(); }

void frmMain::mnuDownload_Click()
{
    if (frmMenu.mnuDownload == "Start Downloading")
        Flash_FSCommand("IDC_FS_startDownload", "");
    else
        Flash_FSCommand("IDC_FS_stopDownload", "");
}

void frmMain::mnuMonitor_Click()
{
    Monitor(!frmMenu.mnuMonitorChecked);
    frmMenu.mnuMonitorChecked = bUrlMonitor;
    MirrorSettings(*this);
}

// EndMe must not run inside the menu's own event: the timer's tick runs it.
void frmMain::mnuExit_Click() { tmrend.SetEnabled(true); }

} // namespace tollivex
