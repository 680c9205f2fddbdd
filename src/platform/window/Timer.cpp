#include "platform/window/Timer.h"

#include <QTimer>

namespace tollivex::platform {

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
