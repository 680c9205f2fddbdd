#include "platform/window/QtEventPump.h"

#include "platform/EventLoop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace tollivex::platform {

namespace {
class QtEventPump final : public EventPump {
public:
    bool Active() const override { return QCoreApplication::instance() != nullptr; }

    void RunPending() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }

    void WaitAndRun(int maxMs) override
    {
        // processEvents with a time limit never waits; a timer bounds the wait instead.
        QTimer wakeUp;
        wakeUp.setSingleShot(true);
        wakeUp.start(maxMs);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
};
} // namespace

void InstallQtEventPump()
{
    static QtEventPump pump;
    SetEventPump(&pump);
}

} // namespace tollivex::platform
