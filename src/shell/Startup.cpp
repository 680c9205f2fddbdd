// The load step and the window's layout.
#include "platform/FileSystem.h"
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/MovieHost.h"
#include "platform/gui/TrayIcon.h"
#include "platform/window/MessageBox.h"
#include "shell/AboutText.h"
#include "shell/frmMain.h"

namespace tollivex {

std::string AboutText(int major, int minor, int revision)
{
    return "Version " + std::to_string(major) + "." + std::to_string(minor) + ".0." + std::to_string(revision) +
           "\r\nTollivex is an easy to use program to download video files from google,youtube,iFilm and other 9 "
           "video sharing sites to your PC.";
}

void frmMain::Form_Load()
{
    cmbSite.Items = {"Auto"};
    cmbSite.ListIndex = 0;
    InitMainWindow();

    // Without its movie the window would be an empty frame the user cannot
    // even close: say what is wrong and end instead.
    const std::string failure = Flash().LoadFailure();
    if (!failure.empty()) {
        platform::ShowMessage("The window's movie could not be loaded, so Tollivex cannot start.\n\n" + failure,
                              "Tollivex", platform::MessageIcon::Critical, platform::MessageButtons::Ok);
        EndMe();
        return;
    }

    frmMenu.Loaded = true;
    LoadSettings(*this);
    StartHook();
}

void frmMain::InitMainWindow()
{
    SysTray().SetIconFile(platform::JoinPath(platform::ProgramFolder(), kTrayImageFile));
    SysTray().SetTipText("Tollivex");
    SysTray().SetInTray(true);

    Window().SetCaption("Tollivex");
    Flash().SetGeometry(0, 0, 639, 535);
    Flash().BringToFront();
    Window().SetSize(639, 535);

    Flash().LoadMovie(0, platform::JoinPath(platform::ProgramFolder(), kMovieFile));

    DownloadGrid().SetGeometry(32, 177, 573, 180);
    Grid.FormatDownloadGrid(true);

    SetMovieVariable("_root.aboutTxt",
                     AboutText(TOLLIVEX_VERSION_MAJOR, TOLLIVEX_VERSION_MINOR, TOLLIVEX_VERSION_REVISION));
}

} // namespace tollivex
