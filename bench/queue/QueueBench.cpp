// The list rebuild and a burst of additions, on a real main window (offscreen).

#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "support/WindowBench.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace tollivex;

void BM_FillDownloadList(benchmark::State& state)
{
    bench::QueueDownloadsInProgress(static_cast<int>(state.range(0)));
    frmMain& form = bench::Window();
    form.FillDownloadList(); // the first rebuild lays the grid out
    for (auto _ : state)
        form.FillDownloadList();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FillDownloadList)->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond);

void BM_AddVideoUrlBurst(benchmark::State& state)
{
    frmMain& form = bench::Window();
    for (auto _ : state) {
        state.PauseTiming();
        DownloadQueue.clear();
        form.FillDownloadList();
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i)
            form.AddVideoUrl("http://www.youtube.com/watch?v=burst" + std::to_string(i));
    }
}
BENCHMARK(BM_AddVideoUrlBurst)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
