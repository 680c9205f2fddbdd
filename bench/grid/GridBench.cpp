// The grid on a real main window (offscreen): painting a long list of
// downloads in progress, and selecting and removing a large list.

#include "platform/gui/MainWindowHost.h"
#include "platform/gui/TableGrid.h"
#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "support/WindowBench.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QTableView>
#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace tollivex;

platform::TableGrid& Grid() { return static_cast<platform::TableGrid&>(bench::Window().DownloadGrid()); }

// The list shown with downloads in progress in every row.
void FillQueue(int items)
{
    bench::QueueDownloadsInProgress(items);
    bench::Window().FillDownloadList();
}

// Rows wholly inside the viewport.
int PaintedRows(const QTableView& view)
{
    int rows = 0;
    for (int r = 0; r < view.model()->rowCount(); ++r)
        rows += view.viewport()->rect().contains(view.visualRect(view.model()->index(r, 0))) ? 1 : 0;
    return rows;
}

// Shows the window and the grid `height` pixels tall, then times one paint
// of the grid's cells per iteration.
void TimeRepaints(benchmark::State& state, int height)
{
    bench::Window().Window().SetSize(640, height);
    bench::Window().Window().Show();
    Grid().SetGeometry(0, 0, 640, height);
    Grid().SetVisible(true);
    QApplication::processEvents();
    QTableView* view = Grid().View();
    QWidget* viewport = view->viewport();
    QImage image(viewport->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        viewport->render(&painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["painted_rows"] = PaintedRows(*view);
}

// One paint of every row: the view is as tall as the list, so nothing is
// left out by scrolling.
void BM_RepaintAllRows(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    FillQueue(rows);
    QTableView* view = Grid().View();
    TimeRepaints(state, view->horizontalHeader()->height() + rows * view->rowHeight(0) + 4);
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_RepaintAllRows)->Arg(1000)->Unit(benchmark::kMillisecond);

// One paint of the window-sized grid, as after each progress event.
void BM_RepaintVisibleRows(benchmark::State& state)
{
    FillQueue(static_cast<int>(state.range(0)));
    TimeRepaints(state, 180);
}
BENCHMARK(BM_RepaintVisibleRows)->Arg(1000)->Unit(benchmark::kMicrosecond);

// SelectAll then RemoveSelected, the final rebuild of the empty list included.
void BM_SelectAllRemoveSelected(benchmark::State& state)
{
    const int items = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        FillQueue(items);
        state.ResumeTiming();
        bench::Window().Grid.SelectAll();
        bench::Window().Grid.RemoveSelected();
        if (!DownloadQueue.empty())
            state.SkipWithError("items left after the removal");
    }
    state.SetItemsProcessed(state.iterations() * items);
}
BENCHMARK(BM_SelectAllRemoveSelected)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Every second item picked by one of its cells, then RemoveSelected: each
// removal in the middle moves the items behind it.
void BM_RemoveEverySecondItem(benchmark::State& state)
{
    const int items = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        FillQueue(items);
        state.ResumeTiming();
        platform::GridControl& grid = bench::Window().DownloadGrid();
        int i = 0;
        for (auto row = grid.FirstRow(); row; row = grid.NextRow(*row), ++i) {
            if (i % 2 == 0)
                grid.SetCellSelected(platform::GridCell{*row, colStatus}, true);
        }
        bench::Window().Grid.RemoveSelected();
        if (DownloadQueue.size() != static_cast<size_t>(items / 2))
            state.SkipWithError("the wrong number of items left");
    }
    state.SetItemsProcessed(state.iterations() * items);
}
BENCHMARK(BM_RemoveEverySecondItem)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
