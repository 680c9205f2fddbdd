#include "shell/FormFactory.h"

#include "platform/Mailbox.h"
#include "platform/gui/GridControl.h"
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/MovieHost.h"
#include "platform/gui/QtControls.h"
#include "platform/gui/TrayIcon.h"

namespace tollivex {

FormControls CreateFormControls()
{
    FormControls controls;
    controls.Window = platform::CreateMainWindowHost();
    QWidget* host = platform::HostWidget(*controls.Window);
    controls.Flash = platform::CreateMovieHost(host);
    controls.DownloadGrid = platform::CreateGridControl(host);
    controls.SysTray = platform::CreateTrayIcon(host);
    controls.txtMonitor = platform::CreateMailbox();
    return controls;
}

} // namespace tollivex
