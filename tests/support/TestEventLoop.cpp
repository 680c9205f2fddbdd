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

class TestEventLoop::LoopTimer final : public platform::PumpTimer {
public:
    LoopTimer(TestEventLoop& loop, std::function<void()> tick)
        : loop_(loop), id_(++loop.lastTimer_), tick_(std::move(tick))
    {
    }
    ~LoopTimer() override { loop_.Stop(id_); }

    void Start(int intervalMs) override
    {
        loop_.Stop(id_);
        const std::chrono::milliseconds period(std::max(intervalMs, 1));
        loop_.timed_.push_back({Clock::now() + period, period, tick_, id_});
    }
    void Stop() override { loop_.Stop(id_); }
    bool Active() const override { return loop_.Running(id_); }

private:
    TestEventLoop& loop_;
    int id_;
    std::function<void()> tick_;
};

std::unique_ptr<platform::PumpTimer> TestEventLoop::MakeTimer(std::function<void()> tick)
{
    return std::make_unique<LoopTimer>(*this, std::move(tick));
}

void TestEventLoop::Stop(int timer)
{
    for (Timed& timed : timed_)
        if (timed.timer == timer)
            timed.callback = nullptr; // dropped at the next turn
}

bool TestEventLoop::Running(int timer) const
{
    return std::any_of(timed_.begin(), timed_.end(),
                       [timer](const Timed& timed) { return timed.timer == timer && timed.callback; });
}

void TestEventLoop::RunPending()
{
    // Each due callback runs once per turn; one added meanwhile waits for the next.
    timed_.erase(std::remove_if(timed_.begin(), timed_.end(), [](const Timed& t) { return !t.callback; }),
                 timed_.end());
    const auto now = Clock::now();
    const std::size_t count = timed_.size();
    std::vector<std::function<void()>> due;
    for (std::size_t i = 0; i < count; ++i) {
        Timed& timed = timed_[i];
        if (!timed.callback || timed.due > now)
            continue;
        due.push_back(timed.callback);
        if (timed.period.count() > 0)
            timed.due = now + timed.period;
        else
            timed.callback = nullptr; // spent
    }
    for (const auto& callback : due)
        callback();
}

void TestEventLoop::WaitAndRun(int maxMs)
{
    auto until = Clock::now() + std::chrono::milliseconds(maxMs);
    for (const Timed& timed : timed_)
        if (timed.callback)
            until = std::min(until, timed.due);
    std::this_thread::sleep_until(until);
    RunPending();
}

} // namespace tollivex::test
