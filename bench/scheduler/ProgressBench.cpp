// The progress handler's cost per event during a video transfer, with a
// queue of 1,000 items on a real main window (offscreen). The handler runs
// once per 2 KiB read, so it must stay far below the read's own cost.

#include "queue/DownloadQueue.h"
#include "support/WindowBench.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace tollivex;

// A run working on the middle item of a queue of `items`.
void PrepareRun(int items, const std::string& sizeText)
{
    DownloadQueue.clear();
    for (int i = 0; i < items; ++i) {
        std::string status = "Waiting";
        std::string size = sizeText;
        AddItem("http://www.youtube.com/watch?v=item" + std::to_string(i), "video" + std::to_string(i) + ".flv", status,
                size);
    }
    frmMain& form = bench::Window();
    form.FillDownloadList();
    form.Scheduler.State().WorkOn(static_cast<std::int16_t>(items / 2),
                                  DownloadQueue[static_cast<size_t>(items / 2)].Video_URL);
    form.Scheduler.State().SetFetchingPage(false);
    form.Scheduler.LocateCurrentRow();
}

void BM_VideoProgressPercent(benchmark::State& state)
{
    PrepareRun(static_cast<int>(state.range(0)), "4.8 MB");
    frmMain& form = bench::Window();
    if (!form.Scheduler.State().oCurrentRow())
        state.SkipWithError("the running item has no grid row: the cell write would not be measured");
    std::int32_t progress = 0;
    for (auto _ : state) {
        std::int32_t p = progress++ % 101;
        form.Scheduler.Download_DownloadProgress(p);
    }
    benchmark::DoNotOptimize(DownloadQueue[static_cast<size_t>(form.Scheduler.State().iCurrentIndex())].Status);
}
BENCHMARK(BM_VideoProgressPercent)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond);

void BM_VideoProgressSoFar(benchmark::State& state)
{
    PrepareRun(static_cast<int>(state.range(0)), "0");
    frmMain& form = bench::Window();
    std::int32_t bytes = 0;
    for (auto _ : state) {
        bytes += 2048;
        std::int32_t p = bytes;
        form.Scheduler.Download_DownloadProgress(p);
    }
}
BENCHMARK(BM_VideoProgressSoFar)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The page phase rebuilds the whole list on every event: shown for scale.
void BM_PageProgress(benchmark::State& state)
{
    PrepareRun(static_cast<int>(state.range(0)), "4.8 MB");
    frmMain& form = bench::Window();
    form.Scheduler.State().SetFetchingPage(true);
    std::int32_t progress = 0;
    for (auto _ : state) {
        std::int32_t p = progress++ % 101;
        form.Scheduler.Download_DownloadProgress(p);
    }
    form.Scheduler.State().SetFetchingPage(false);
}
BENCHMARK(BM_PageProgress)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
