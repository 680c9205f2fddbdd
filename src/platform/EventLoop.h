#pragma once
// The window event loop as the system's code sees it: let pending events run
// (DoEvents), wait for events without spinning, and timers.

#include <functional>
#include <memory>

namespace tollivex::platform {

/// Runs the window events that are pending now, then returns. Long operations
/// call it between their steps so the window stays alive. Calls closer than
/// half a millisecond to the previous pump return at once (loops call it very
/// often). Does nothing when no application object exists.
void DoEvents();

/// True when there is a window event loop (an application object) to pump.
bool HasEventLoop();

/// Blocks for at most `maxMs` milliseconds or until an event arrives, runs the
/// pending events and returns. For layers that wait on something else.
void WaitForEvents(int maxMs);

/// A window timer: while enabled, calls its tick handler every interval on the
/// window thread. Enabling a running timer restarts its interval.
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
