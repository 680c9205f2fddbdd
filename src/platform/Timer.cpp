#include "platform/Timer.h"

#include "platform/EventLoop.h"

#include <utility>

namespace tollivex::platform {

struct Timer::Impl {
    int interval = 0;
    bool enabled = false;
    std::function<void()> onTick;
    // Made from the pump when first enabled: the loop is there by then.
    std::unique_ptr<PumpTimer> running;
};

Timer::Timer(int intervalMs, std::function<void()> onTick) : impl_(std::make_unique<Impl>())
{
    impl_->interval = intervalMs;
    impl_->onTick = std::move(onTick);
}

Timer::~Timer() = default;

void Timer::SetOnTick(std::function<void()> onTick) { impl_->onTick = std::move(onTick); }

void Timer::SetEnabled(bool enabled)
{
    impl_->enabled = enabled;
    if (enabled && !impl_->running) {
        if (EventPump* pump = InstalledEventPump())
            impl_->running = pump->MakeTimer([impl = impl_.get()] {
                if (impl->onTick)
                    impl->onTick();
            });
    }
    if (!impl_->running)
        return;
    if (enabled)
        impl_->running->Start(impl_->interval);
    else
        impl_->running->Stop();
}

bool Timer::Enabled() const { return impl_->running ? impl_->running->Active() : impl_->enabled; }

int Timer::Interval() const { return impl_->interval; }

} // namespace tollivex::platform
