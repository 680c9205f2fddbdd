#include "shell/FormFactory.h"

#include "grid/DownloadListGrid.h"
#include "platform/gui/DesktopNotifier.h"
#include "platform/gui/GridControl.h"
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/MovieHost.h"
#include "platform/gui/QtControls.h"
#include "platform/gui/QuickMovieHost.h"
#include "platform/gui/TableGrid.h"
#include "platform/gui/TrayIcon.h"
#include "platform/window/Mailbox.h"

namespace tollivex {

FormControls CreateFormControls()
{
    FormControls controls;
    controls.Window = platform::CreateMainWindowHost();
    QWidget* host = platform::HostWidget(*controls.Window);
    controls.Flash = platform::CreateMovieHost(host);
    controls.DownloadGrid = platform::CreateGridControl(host, DownloadGridColumns());
    // The grid sits in the movie's Tab order at its place in the movie.
    auto* movie = dynamic_cast<platform::QuickMovieHost*>(controls.Flash.get());
    auto* grid = dynamic_cast<platform::TableGrid*>(controls.DownloadGrid.get());
    if (movie && grid) {
        movie->SetGridSlotHandler([grid] { return grid->TakeFocusFromTab(); });
        grid->SetTabOutHandler([movie](bool next) { movie->FocusBesideGridSlot(next); });
    }
    controls.SysTray = platform::CreateTrayIcon(host);
    controls.txtMonitor = platform::CreateMailbox();
    controls.Notifier = platform::CreateDesktopNotifier();
    return controls;
}

} // namespace tollivex
