#include "WindowBench.h"

#include "platform/window/QtEventPump.h"
#include "queue/DownloadQueue.h"
#include "shell/FormFactory.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace tollivex::bench {

namespace {
std::unique_ptr<frmMain> window;
}

frmMain& Window()
{
    if (!window)
        window = std::make_unique<frmMain>(CreateFormControls());
    return *window;
}

void QueueDownloadsInProgress(int items)
{
    DownloadQueue.clear();
    for (int i = 0; i < items; ++i) {
        std::string status = std::to_string(i % 101);
        std::string size = "4.8 MB";
        AddItem("http://www.youtube.com/watch?v=item" + std::to_string(i), "video" + std::to_string(i) + ".flv", status,
                size);
    }
}

} // namespace tollivex::bench

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tollivex::platform::InstallQtEventPump();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tollivex::bench::window.reset(); // widgets go before the application object
    return 0;
}
