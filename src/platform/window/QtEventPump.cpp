#include "platform/window/QtEventPump.h"

#include "platform/EventLoop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <utility>

namespace tollivex::platform {

namespace {
class QtPumpTimer final : public PumpTimer {
public:
    explicit QtPumpTimer(std::function<void()> tick) { QObject::connect(&timer_, &QTimer::timeout, std::move(tick)); }

    void Start(int intervalMs) override { timer_.start(intervalMs); }
    void Stop() override { timer_.stop(); }
    bool Active() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

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

    std::unique_ptr<PumpTimer> MakeTimer(std::function<void()> tick) override
    {
        return std::make_unique<QtPumpTimer>(std::move(tick));
    }
};
} // namespace

void InstallQtEventPump()
{
    static QtEventPump pump;
    SetEventPump(&pump);
}

} // namespace tollivex::platform
