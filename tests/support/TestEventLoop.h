#pragma once
// A small event loop for tests of the windowless core: while it lives it is
// the platform's event pump (platform/EventLoop.h), and the callbacks timed on
// it run whenever the code under test lets events run (DoEvents,
// WaitForEvents), as a window's timers and clicks would.

#include "platform/EventLoop.h"

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace tollivex::test {

class TestEventLoop final : public platform::EventPump {
public:
    TestEventLoop();
    ~TestEventLoop() override;
    TestEventLoop(const TestEventLoop&) = delete;
    TestEventLoop& operator=(const TestEventLoop&) = delete;

    /// Runs `callback` once, `ms` milliseconds from now.
    void After(int ms, std::function<void()> callback);
    /// Runs `callback` every `ms` milliseconds.
    void Every(int ms, std::function<void()> callback);

    bool Active() const override { return true; }
    void RunPending() override;
    void WaitAndRun(int maxMs) override;
    std::unique_ptr<platform::PumpTimer> MakeTimer(std::function<void()> tick) override;

private:
    using Clock = std::chrono::steady_clock;
    struct Timed {
        Clock::time_point due;
        std::chrono::milliseconds period; // zero: once
        std::function<void()> callback;
        int timer = 0; // the PumpTimer it belongs to; 0: none
    };
    class LoopTimer;
    void Stop(int timer);
    bool Running(int timer) const;

    std::vector<Timed> timed_;
    int lastTimer_ = 0;
};

} // namespace tollivex::test
