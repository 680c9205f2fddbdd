// The window's worst event-loop stall while a download run fetches one large
// video with a long list: the real main window (movie, grid, tray icon) is
// shown, the list holds ITEMS entries of which the first is the page of the
// large video and the others were finished earlier, and the run is started
// through the toggle as the movie's command does. A 2 ms precise timer on the
// window thread notes every tick from the start of the run to its end; a gap
// between two ticks is the time the window could not handle events. The run
// includes the video's flush to the disk and its publication ("publish").
//
// usage: bench_window_stall PAGE_URL DOWNLOAD_FOLDER [ITEMS]
// The page's host must be mapped to the local server (TOLLIVEX_HOST_MAP).
// Prints one line:
//   items bytes seconds worst_gap_ms p99_gap_ms p999_gap_ms gaps_over_50ms ticks worst_at_s worst_phase status
#include "platform/FileSystem.h"
#include "platform/gui/MainWindowHost.h"
#include "platform/gui/MovieHost.h"
#include "platform/window/QtEventPump.h"
#include "queue/DownloadQueue.h"
#include "settings/AppSettings.h"
#include "shell/FormFactory.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace tollivex;

namespace {

void RunEventsFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    return values[at];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: bench_window_stall PAGE_URL DOWNLOAD_FOLDER [ITEMS]\n");
        return 2;
    }
    const std::string page = argv[1];
    const std::string folder = argv[2];
    const int items = argc == 4 ? std::atoi(argv[3]) : 1000;
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QApplication app(argc, argv);
    tollivex::platform::InstallQtEventPump();
    QApplication::setQuitOnLastWindowClosed(false);

    frmMain form(CreateFormControls());
    form.Form_Load();
    if (form.Ended()) {
        std::fprintf(stderr, "the window did not start (is Main.qml beside the program?)\n");
        return 1;
    }
    form.Window().Show();
    form.Flash_FSCommand("IDC_FS_Download", "");
    sDownloadDir = folder;

    // The large video first; the rest of the list was downloaded before, so the
    // run passes over it, but every rebuild of the grid carries it.
    form.Flash().SetVariable("_root.video_url", page);
    form.Flash_FSCommand("IDC_FS_addDownloadURL", "");
    for (int i = 1; i < items; ++i) {
        std::string status = "Complete";
        std::string size = "4.8 MB";
        AddItem("http://www.youtube.com/watch?v=earlier" + std::to_string(i), "earlier" + std::to_string(i) + ".flv",
                status, size);
    }
    form.FillDownloadList();
    RunEventsFor(500); // the movie's first page and the list painted

    using Clock = std::chrono::steady_clock;
    std::vector<double> gaps;
    gaps.reserve(1 << 20);
    Clock::time_point last;
    bool measuring = false;
    double worst = 0;
    double worstAt = 0;
    std::string worstPhase = "-";
    Clock::time_point start;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    // The video has been transferred: what follows is its flush and publication.
    bool transferred = false;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        transferred = transferred || (form.Download.Transferring() && !form.Scheduler.State().bFetchingPage());
        if (measuring) {
            const double gap = std::chrono::duration<double, std::milli>(now - last).count();
            gaps.push_back(gap);
            if (gap > worst) {
                worst = gap;
                worstAt = std::chrono::duration<double>(now - start).count();
                const RunState& run = form.Scheduler.State();
                worstPhase = !run.bDownloading()            ? "idle"
                             : run.bFetchingPage()          ? "page"
                             : form.Download.Transferring() ? "video"
                             : transferred                  ? "publish"
                                                            : "head";
            }
        }
        last = now;
    });
    timer.start(2);

    start = Clock::now();
    last = start;
    measuring = true;
    form.Scheduler.cmdStartDownload_Click(); // the whole run, with events running inside it
    measuring = false;
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    timer.stop();

    const std::string status = DownloadQueue.empty() ? "none" : DownloadQueue[0].Status;
    const std::string local = platform::JoinPath(folder, DownloadQueue.empty() ? "" : DownloadQueue[0].FileName);
    std::error_code error;
    const auto bytes = std::filesystem::file_size(local, error);
    const long over50 = std::count_if(gaps.begin(), gaps.end(), [](double g) { return g > 50; });
    std::printf("%d %lld %.2f %.2f %.2f %.2f %ld %zu %.2f %s %s\n", items, error ? -1LL : static_cast<long long>(bytes),
                seconds, worst, Percentile(gaps, 0.99), Percentile(gaps, 0.999), over50, gaps.size(), worstAt,
                worstPhase.c_str(), status.c_str());
    form.EndMe();
    return status == "Complete" ? 0 : 1;
}
