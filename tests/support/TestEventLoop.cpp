#include "support/TestEventLoop.h"

#include <algorithm>
#include <thread>

namespace tollivex::test {

TestEventLoop::TestEventLoop() { platform::SetEventPump(this); }

TestEventLoop::~TestEventLoop() { platform::SetEventPump(nullptr); }

void TestEventLoop::After(int ms, std::function<void()> callback)
{
    timed_.push_back({Clock::now() + std::chrono::milliseconds(ms), std::chrono::milliseconds(0), std::move(callback)});
}

void TestEventLoop::Every(int ms, std::function<void()> callback)
{
    const std::chrono::milliseconds period(std::max(ms, 1));
    timed_.push_back({Clock::now() + period, period, std::move(callback)});
}

void TestEventLoop::RunPending()
{
    // Each due callback runs once per turn; one added meanwhile waits for the next.
    const auto now = Clock::now();
    const std::size_t count = timed_.size();
    std::vector<std::function<void()>> due;
    for (std::size_t i = 0; i < count; ++i) {
        Timed& timed = timed_[i];
        if (timed.due > now)
            continue;
        due.push_back(timed.callback);
        if (timed.period.count() > 0)
            timed.due = now + timed.period;
        else
            timed.callback = nullptr; // spent
    }
    timed_.erase(std::remove_if(timed_.begin(), timed_.end(), [](const Timed& t) { return !t.callback; }),
                 timed_.end());
    for (const auto& callback : due)
        callback();
}

void TestEventLoop::WaitAndRun(int maxMs)
{
    auto until = Clock::now() + std::chrono::milliseconds(maxMs);
    for (const Timed& timed : timed_)
        until = std::min(until, timed.due);
    std::this_thread::sleep_until(until);
    RunPending();
}

} // namespace tollivex::test
