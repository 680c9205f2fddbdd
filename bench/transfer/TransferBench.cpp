// Downloads one URL through the download component, as the download run does
// (information request, then the transfer with a progress handler), while a
// 1 ms window timer measures how long the event loop ever waited for a turn.
//
//   transfer_bench URL LOCAL_FILE
//
// Prints one line: bytes seconds MiB/s cpu_seconds rss_before_kib rss_peak_kib
// worst_gap_ms timer_ticks result

#include "platform/window/QtEventPump.h"
#include "transfer/Download.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

#include <sys/resource.h>

namespace {

long StatusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::stol(line.substr(prefix.size()));
    return -1;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: transfer_bench URL LOCAL_FILE\n");
        return 2;
    }
    QApplication app(argc, argv);
    tollivex::platform::InstallQtEventPump();
    tollivex::Download download;
    download.SetUrl(argv[1]);
    download.SetLocalFile(argv[2]);

    using Clock = std::chrono::steady_clock;
    Clock::time_point lastTick;
    double worstGapMs = 0;
    long ticks = 0;
    bool measuring = false;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        if (measuring && ticks > 0)
            worstGapMs = std::max(worstGapMs, std::chrono::duration<double, std::milli>(now - lastTick).count());
        lastTick = now;
        ++ticks;
    });
    std::int32_t lastProgress = 0;
    download.DownloadProgress = [&](std::int32_t& p) { lastProgress = p; };
    std::string error;
    download.DownloadError = [&](std::string& e) { error = e; };

    download.RequestInformation();
    const long rssBefore = StatusKiB("VmRSS");
    const double cpuBefore = CpuSeconds();
    timer.start(1);
    measuring = true;
    const auto start = Clock::now();
    const bool ok = download.StartDownload();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    measuring = false;
    timer.stop();
    const double cpu = CpuSeconds() - cpuBefore;

    std::ifstream written(argv[2], std::ios::binary | std::ios::ate);
    const double bytes = written ? static_cast<double>(written.tellg()) : 0;
    std::printf("%.0f %.3f %.1f %.3f %ld %ld %.2f %ld %s\n", bytes, seconds, bytes / (1024.0 * 1024.0) / seconds, cpu,
                rssBefore, StatusKiB("VmHWM"), worstGapMs, ticks, ok ? "complete" : error.c_str());
    return ok && lastProgress == 100 ? 0 : 1;
}
