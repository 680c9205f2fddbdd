#include "platform/EventLoop.h"

#include <atomic>
#include <chrono>

namespace tollivex::platform {

namespace {
// Long loops call DoEvents thousands of times a second (the list rebuild
// yields fourteen times per row). Pumping at most once per slice keeps the
// window just as alive, but stops a 10,000-row rebuild from spending most of
// its time asking an empty event queue for work.
constexpr auto kPumpSlice = std::chrono::microseconds(500);
std::chrono::steady_clock::time_point lastPump;
std::atomic<EventPump*> installed{nullptr};

EventPump* ActivePump()
{
    EventPump* pump = installed.load(std::memory_order_acquire);
    return pump && pump->Active() ? pump : nullptr;
}
} // namespace

void SetEventPump(EventPump* pump) { installed.store(pump, std::memory_order_release); }

EventPump* InstalledEventPump() { return installed.load(std::memory_order_acquire); }

void DoEvents()
{
    EventPump* pump = ActivePump();
    if (!pump)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump < kPumpSlice)
        return;
    pump->RunPending();
    lastPump = std::chrono::steady_clock::now();
}

bool HasEventLoop() { return ActivePump() != nullptr; }

void WaitForEvents(int maxMs)
{
    EventPump* pump = ActivePump();
    if (!pump)
        return;
    pump->WaitAndRun(maxMs);
    lastPump = std::chrono::steady_clock::now();
}

} // namespace tollivex::platform
