#include "platform/EventLoop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>

namespace tollivex::platform {

namespace {
// Long loops call DoEvents thousands of times a second (the list rebuild
// yields fourteen times per row). Pumping at most once per slice keeps the
// window just as alive, but stops a 10,000-row rebuild from spending most of
// its time asking an empty event queue for work.
constexpr auto kPumpSlice = std::chrono::microseconds(500);
std::chrono::steady_clock::time_point lastPump;
} // namespace

void DoEvents()
{
    if (!QCoreApplication::instance())
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump < kPumpSlice)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    lastPump = std::chrono::steady_clock::now();
}

bool HasEventLoop() { return QCoreApplication::instance() != nullptr; }

void WaitForEvents(int maxMs)
{
    if (!QCoreApplication::instance())
        return;
    // processEvents with a time limit never waits; a timer bounds the wait instead.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.start(maxMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    lastPump = std::chrono::steady_clock::now();
}

struct Timer::Impl {
    QTimer timer;
    std::function<void()> onTick;
};

Timer::Timer(int intervalMs, std::function<void()> onTick) : impl_(std::make_unique<Impl>())
{
    impl_->timer.setInterval(intervalMs);
    impl_->onTick = std::move(onTick);
    QObject::connect(&impl_->timer, &QTimer::timeout, [impl = impl_.get()] {
        if (impl->onTick)
            impl->onTick();
    });
}

Timer::~Timer() = default;

void Timer::SetOnTick(std::function<void()> onTick) { impl_->onTick = std::move(onTick); }

void Timer::SetEnabled(bool enabled)
{
    if (enabled)
        impl_->timer.start();
    else
        impl_->timer.stop();
}

bool Timer::Enabled() const { return impl_->timer.isActive(); }

int Timer::Interval() const { return impl_->timer.interval(); }

} // namespace tollivex::platform
