// What the scheduler, the list and the clipboard monitor ask of the main
// window: the list's rows, the movie and the tray menu, and the run's messages.

#include "shell/frmMain.h"

#include "platform/window/MessageBox.h"

namespace tollivex {

void frmMain::FillDownloadList() { Grid.FillDownloadList(); }

bool frmMain::bFillingList() const { return Grid.bFillingList(); }

std::optional<platform::GridRow> frmMain::RowOfId(int id) const { return Grid.RowOfId(id); }

void frmMain::ShowStatusInRow(const platform::GridRow& row, const std::string& status)
{
    Grid.ShowStatusInRow(row, status);
}

void frmMain::ShowNoteInRow(const platform::GridRow& row, const std::string& note) { Grid.ShowNoteInRow(row, note); }

bool frmMain::AddVideoUrl(const std::string& pageAddress) { return Grid.AddVideoUrl(pageAddress); }

const std::string& frmMain::CurrentTab() const { return sCurrentTab; }

void frmMain::ShowRunCaption(const std::string& caption) { frmMenu.mnuDownload = caption; }

void frmMain::ShowMonitorChecked(bool checked) { frmMenu.mnuMonitorChecked = checked; }

void frmMain::TellListEmpty()
{
    platform::ShowMessage("Please add video URL's first.", "Empty List", platform::MessageIcon::Exclamation,
                          platform::MessageButtons::Ok);
}

bool frmMain::AskCancelDownloading()
{
    return platform::ShowMessage("Are you sure that you want to cancel downloading?", "Tollivex",
                                 platform::MessageIcon::Question,
                                 platform::MessageButtons::YesNo) == platform::MessageAnswer::Yes;
}

void frmMain::TellNotConnected()
{
    platform::ShowMessage("You are not connected to the internet, Please connect first then try again", "Tollivex",
                          platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
}

void frmMain::TellFolderUnusable(const std::string& folder)
{
    platform::ShowMessage("The download folder \"" + folder +
                              "\" cannot be created or written. Please choose another folder.",
                          "Tollivex", platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
}

} // namespace tollivex
