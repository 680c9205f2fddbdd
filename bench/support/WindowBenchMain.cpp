#include "WindowBench.h"

#include "shell/FormFactory.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>

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

} // namespace tollivex::bench

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tollivex::bench::window.reset(); // widgets go before the application object
    return 0;
}
