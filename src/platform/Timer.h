#pragma once
// A window timer, on the event loop the window part installs
// (platform/EventLoop.h): the windowless layers keep their timers without
// seeing the window system.

#include <functional>
#include <memory>

namespace tollivex::platform {

/// While enabled, calls its tick handler every interval on the window thread.
/// Enabling a running timer restarts its interval. Without an event loop it
/// keeps its state but never ticks.
class Timer {
public:
    explicit Timer(int intervalMs, std::function<void()> onTick = {});
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void SetOnTick(std::function<void()> onTick);
    void SetEnabled(bool enabled);
    bool Enabled() const;
    int Interval() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tollivex::platform
