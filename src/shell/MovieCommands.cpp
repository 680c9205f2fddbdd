// The movie's commands and the variables written back into it.
#include "platform/FileSystem.h"
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/MovieHost.h"
#include "platform/gui/TrayIcon.h"
#include "platform/window/Desktop.h"
#include "platform/window/MessageBox.h"
#include "shell/AboutText.h"
#include "shell/frmMain.h"

#include <map>

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

// What each of the movie's commands does. Names are matched exactly, letter
// case included; a name not in the table does nothing.
using CommandAction = void (*)(frmMain& form);

void HideToTray(frmMain& form)
{
    // Without a notification area a hidden window could never be found
    // again: it is minimised instead.
    if (form.SysTray().Available())
        form.Window().Hide();
    else
        form.Window().Minimize();
    form.SysTray().SetInTray(true);
}

void AddTypedAddress(frmMain& form)
{
    if (!IsBlank(form.Flash().GetVariable("_root.video_url")))
        form.Grid.AddVideoUrl(form.Flash().GetVariable("_root.video_url"));
    if (form.Scheduler.State().bDownloading())
        form.Scheduler.LocateCurrentRow();
}

void SwitchMonitor(frmMain& form, bool on)
{
    form.Monitor(on); // on: stays off when the watcher cannot run here
    if (!on)
        bUrlMonitor = false;
    SaveSettings();
}

const std::map<std::string, CommandAction>& MovieCommands()
{
    static const std::map<std::string, CommandAction> commands{
        {"IDC_FS_Drag", [](frmMain& f) { f.Window().StartSystemMove(); }},
        {"IDC_FS_Minimize", [](frmMain& f) { f.Window().Minimize(); }},
        {"IDC_FS_Tray", HideToTray},
        {"IDC_FS_Close", [](frmMain& f) { f.EndMe(); }},
        {"IDC_FS_Slider", [](frmMain& f) { f.DownloadGrid().SetVisible(false); }},
        {"IDC_FS_Download",
         [](frmMain& f) {
             f.Grid.ShowDownloadGrid();
             f.sCurrentTab = "Download";
         }},
        {"IDC_FS_About",
         [](frmMain& f) {
             f.DownloadGrid().SetVisible(false);
             f.sCurrentTab = "About";
         }},
        {"IDC_FS_Help",
         [](frmMain&) { OpenOrTell(platform::JoinPath(platform::ProgramFolder(), kHelpFile), "the help page", true); }},
        {"ID_FS_webSite", [](frmMain&) { OpenOrTell(kWebSiteAddress, "its web site", false); }},
        // The run never starts inside the command event: the movie's call
        // returns first, the timer's tick runs the toggle.
        {"IDC_FS_startDownload", [](frmMain& f) { f.Scheduler.tmrDownload.SetEnabled(true); }},
        {"IDC_FS_stopDownload", [](frmMain& f) { f.Scheduler.cmdStartDownload_Click(); }},
        {"IDC_FS_addDownloadURL", AddTypedAddress},
        {"IDC_FS_selectAllD", [](frmMain& f) { f.Grid.SelectAll(); }},
        {"IDC_FS_removeSelectedD", [](frmMain& f) { f.Grid.RemoveSelected(); }},
        {"IDC_FS_moveUp", [](frmMain& f) { f.Grid.MoveSelectedUp(); }},
        {"IDC_FS_moveDown", [](frmMain& f) { f.Grid.MoveSelectedDown(); }},
        {"ID_FS_clearComplete", [](frmMain& f) { f.Grid.ClearCompleted(); }},
        {"ID_FS_downloadBrowse",
         [](frmMain& f) {
             cmdBrowse_Click(f);
             SaveSettings();
         }},
        {"ID_FS_autoDownloadCheck", [](frmMain& f) { SwitchMonitor(f, true); }},
        {"ID_FS_autoDownloadUncheck", [](frmMain& f) { SwitchMonitor(f, false); }},
    };
    return commands;
}

} // namespace

void frmMain::SetMovieVariable(const std::string& name, const std::string& value) { Flash().SetVariable(name, value); }

void frmMain::Flash_FSCommand(const std::string& command, const std::string& /*args: never used*/)
{
    const auto found = MovieCommands().find(command);
    if (found != MovieCommands().end())
        found->second(*this);
}

} // namespace tollivex
