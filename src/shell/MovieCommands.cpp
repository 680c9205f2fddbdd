// The movie's commands and the variables written back into it.
#include "platform/FileSystem.h"
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/MovieHost.h"
#include "platform/gui/TrayIcon.h"
#include "platform/window/Desktop.h"
#include "platform/window/MessageBox.h"
#include "shell/AboutText.h"
#include "shell/frmMain.h"

namespace tollivex {

namespace {
bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

/// Hands a page to the desktop; when nothing can show it (a missing help
/// file, no opener installed) the user is told instead of nothing happening.
void OpenOrTell(const std::string& target, const std::string& what, bool localFile)
{
    std::string why;
    if (localFile && !platform::FileExists(target))
        why = "The file is missing; installing Tollivex again puts it back.";
    else if (!platform::ShellOpen(target))
        why = "No program to show it was found on this computer. Open it in a web browser yourself.";
    else
        return;
    platform::ShowMessage("Tollivex could not open " + what + ":\n" + target + "\n\n" + why, "Tollivex",
                          platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
}
} // namespace

void frmMain::SetMovieVariable(const std::string& name, const std::string& value) { Flash().SetVariable(name, value); }

void frmMain::Flash_FSCommand(const std::string& command, const std::string& /*args: never used*/)
{
    if (command == "IDC_FS_Drag") {
        Window().StartSystemMove();
    } else if (command == "IDC_FS_Minimize") {
        Window().Minimize();
    } else if (command == "IDC_FS_Tray") {
        // Without a notification area a hidden window could never be found
        // again: it is minimised instead.
        if (SysTray().Available())
            Window().Hide();
        else
            Window().Minimize();
        SysTray().SetInTray(true);
    } else if (command == "IDC_FS_Close") {
        EndMe();
    } else if (command == "IDC_FS_Slider") {
        DownloadGrid().SetVisible(false);
    } else if (command == "IDC_FS_Download") {
        ShowDownloadGrid();
        sCurrentTab = "Download";
    } else if (command == "IDC_FS_About") {
        DownloadGrid().SetVisible(false);
        sCurrentTab = "About";
    } else if (command == "IDC_FS_Help") {
        OpenOrTell(platform::JoinPath(platform::ProgramFolder(), kHelpFile), "the help page", true);
    } else if (command == "ID_FS_webSite") {
        OpenOrTell(kWebSiteAddress, "its web site", false);
    } else if (command == "IDC_FS_startDownload") {
        // The run never starts inside the command event: the movie's call
        // returns first, the timer's tick runs the toggle.
        tmrDownload.SetEnabled(true);
    } else if (command == "IDC_FS_stopDownload") {
        cmdStartDownload_Click();
    } else if (command == "IDC_FS_addDownloadURL") {
        if (!IsBlank(Flash().GetVariable("_root.video_url")))
            AddVideoUrl(Flash().GetVariable("_root.video_url"));
        if (bDownloading)
            LocateCurrentRow();
    } else if (command == "IDC_FS_selectAllD") {
        SelectAll();
    } else if (command == "IDC_FS_removeSelectedD") {
        RemoveSelected();
    } else if (command == "IDC_FS_moveUp") {
        MoveSelectedUp();
    } else if (command == "IDC_FS_moveDown") {
        MoveSelectedDown();
    } else if (command == "ID_FS_clearComplete") {
        ClearCompleted();
    } else if (command == "ID_FS_downloadBrowse") {
        cmdBrowse_Click(*this);
        SaveSettings();
    } else if (command == "ID_FS_autoDownloadCheck") {
        Monitor(true); // stays off when the watcher cannot run here
        SaveSettings();
    } else if (command == "ID_FS_autoDownloadUncheck") {
        Monitor(false);
        bUrlMonitor = false;
        SaveSettings();
    }
}

} // namespace tollivex
