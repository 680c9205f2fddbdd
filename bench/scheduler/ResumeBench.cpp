// One life of the program's download run against a real server, for the
// continue benchmark (resume.sh): the real main window (offscreen), its
// Download component and the real download folder.
//
// usage: bench_resume PAGE_URL DOWNLOAD_FOLDER [KILL_AT_PERCENT]
// With KILL_AT_PERCENT the process kills itself (SIGKILL, no clean-up of
// any kind) at the first progress event once that percentage of the video's
// bytes has arrived, as a power cut or `kill -9` would. Without it the run goes to its
// end and one line is printed:
//   seconds_from_start_to_end status file_name continued_from_bytes
// The page's host must be mapped to the local server (TOLLIVEX_HOST_MAP).
#include "platform/gui/MovieHost.h"
#include "platform/window/QtEventPump.h"
#include "queue/DownloadQueue.h"
#include "settings/AppSettings.h"
#include "shell/FormFactory.h"
#include "shell/frmMain.h"

#include <QApplication>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace tollivex;

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: bench_resume PAGE_URL DOWNLOAD_FOLDER [KILL_AT_PERCENT]\n");
        return 2;
    }
    const int killAt = argc == 4 ? std::atoi(argv[3]) : -1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tollivex::platform::InstallQtEventPump();
    frmMain form(CreateFormControls());
    form.Form_Load();
    sDownloadDir = argv[2];
    form.Flash().SetVariable("_root.video_url", argv[1]);
    form.Flash_FSCommand("IDC_FS_addDownloadURL", "");

    auto progress = form.Download.DownloadProgress;
    form.Download.DownloadProgress = [&form, progress, killAt](std::int32_t& p) {
        progress(p);
        const double announced = form.Download.AnnouncedSize();
        if (killAt >= 0 && !form.Scheduler.State().bFetchingPage() && announced > 0 &&
            static_cast<double>(form.Download.BytesReceived()) >= announced * killAt / 100)
            std::raise(SIGKILL);
    };
    const auto start = std::chrono::steady_clock::now();
    form.Scheduler.cmdStartDownload_Click();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string status = DownloadQueue.empty() ? "none" : DownloadQueue[0].Status;
    std::printf("%.2f %s %s %lld\n", seconds, status.c_str(),
                DownloadQueue.empty() ? "-" : DownloadQueue[0].FileName.c_str(),
                static_cast<long long>(form.Download.ContinuedFrom()));
    form.EndMe();
    return status == "Complete" ? 0 : 1;
}
