#pragma once
// The window event loop as the system's code sees it: let pending events run
// (DoEvents) and wait for events without spinning; its timers are in
// platform/Timer.h. The loop itself belongs to the window part, which
// installs it as the pump below at start-up (platform/window/QtEventPump.h);
// without a pump there are no events, and these calls return at once.

#include <functional>
#include <memory>

namespace tollivex::platform {

/// A timer of the pump's loop: while started, it calls its tick every interval.
class PumpTimer {
public:
    virtual ~PumpTimer() = default;
    /// Starts it, or starts its interval again when it runs.
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool Active() const = 0;
};

/// The window part's event loop, as the core drives it.
class EventPump {
public:
    virtual ~EventPump() = default;
    /// True while there is a loop to run (its application object exists).
    virtual bool Active() const = 0;
    /// Runs the events that are pending now, then returns.
    virtual void RunPending() = 0;
    /// Blocks for at most `maxMs` milliseconds or until an event arrives,
    /// then runs the pending events.
    virtual void WaitAndRun(int maxMs) = 0;
    /// A timer of this loop, stopped, that calls `tick` from the loop.
    virtual std::unique_ptr<PumpTimer> MakeTimer(std::function<void()> tick) = 0;
};

/// Installs the pump (at start-up, before any other thread runs); nullptr
/// removes it. The pump must outlive every call below and every timer it made.
void SetEventPump(EventPump* pump);

/// The pump installed, if any.
EventPump* InstalledEventPump();

/// Runs the window events that are pending now, then returns. Long operations
/// call it between their steps so the window stays alive. Calls closer than
/// half a millisecond to the previous pump return at once (loops call it very
/// often). Does nothing without an active pump.
void DoEvents();

/// True when there is a window event loop to pump.
bool HasEventLoop();

/// Blocks for at most `maxMs` milliseconds or until an event arrives, runs the
/// pending events and returns. For layers that wait on something else.
/// Returns at once without an active pump.
void WaitForEvents(int maxMs);

} // namespace tollivex::platform
