// The start/stop toggle of the download run, reached from the movie, the tray
// menu and the clipboard monitor, directly or through the one-shot tmrDownload.

#include "shell/frmMain.h"

#include "platform/FileSystem.h"
#include "platform/window/MessageBox.h"
#include "queue/DownloadQueue.h"

namespace tollivex {

namespace {

constexpr const char* kStartCaption = "Start Downloading";
constexpr const char* kStopCaption = "Stop Downloading";

void SetCaptions(frmMain& form, const char* caption)
{
    form.cmdStartDownload.Caption = caption;
    form.frmMenu.mnuDownload = caption;
}

// The run writes every video here; finding out at the first file is too late.
bool DownloadFolderUsable()
{
    return platform::CreateFolder(sDownloadDir) && platform::FolderIsWritable(sDownloadDir);
}

} // namespace

void frmMain::tmrDownload_Timer()
{
    // One-shot: the toggle runs once, outside the event that armed the timer.
    tmrDownload.SetEnabled(false);
    // A tick that lands inside a rebuild would run the whole download nested
    // in it, with the grid frozen and every edit refused: wait for its end.
    if (bFillingList()) {
        if (!Ended())
            tmrDownload.SetEnabled(true);
        return;
    }
    cmdStartDownload_Click();
}

void frmMain::cmdStartDownload_Click()
{
    try {
        // A running download can always be stopped, even once its item has
        // been removed and the list is empty.
        if (IsListEmpty() && cmdStartDownload.Caption != kStopCaption) {
            SetMovieVariable("_root.startDownload", "1");
            platform::ShowMessage("Please add video URL's first.", "Empty List", platform::MessageIcon::Exclamation,
                                  platform::MessageButtons::Ok);
            return;
        }

        if (cmdStartDownload.Caption == kStopCaption) {
            if (platform::ShowMessage("Are you sure that you want to cancel downloading?", "Tollivex",
                                      platform::MessageIcon::Question,
                                      platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes)
                return;
            // The run sees the flag at its next progress event or step and ends there.
            bStopRequested = true;
            SetCaptions(*this, kStartCaption);
            SetMovieVariable("_root.downloadBtn", "1");
            SetMovieVariable("_root.startDownload", "1");
            SetMovieVariable("_root.downloadTab", "1");
            return;
        }

        // A confirmed stop is still unwinding: a run must not start inside it.
        // The start is taken up once the run has ended.
        if (bDownloading) {
            if (!Ended())
                tmrDownload.SetEnabled(true);
            return;
        }

        if (!IsConnected()) {
            platform::ShowMessage("You are not connected to the internet, Please connect first then try again",
                                  "Tollivex", platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
            return;
        }
        if (!DownloadFolderUsable()) {
            platform::ShowMessage("The download folder \"" + sDownloadDir +
                                      "\" cannot be created or written. Please choose another folder.",
                                  "Tollivex", platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
            return;
        }

        SetCaptions(*this, kStopCaption);
        SetMovieVariable("_root.downloadBtn", "0");
        SetMovieVariable("_root.startDownload", "0");
        SetMovieVariable("_root.downloadTab", "0");

        StartDownloading();

        // A confirmed stop has already restored the captions and the movie.
        if (bStopRequested || Ended())
            return;
        cmdStartDownload.Caption = kStartCaption;
        SetMovieVariable("_root.startDownload", "1");
        SetMovieVariable("_root.downloadBtn", "1");
        SetMovieVariable("_root.downloadTab", "1");
        frmMenu.mnuDownload = kStartCaption;
    } catch (...) {
        // Any other failure ends the toggle quietly; the program carries on.
    }
}

} // namespace tollivex
