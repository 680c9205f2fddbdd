#include "platform/WorkAside.h"

#include "platform/EventLoop.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace tollivex::platform {

namespace {
// The window's events are waited for in slices this long between looks at the work.
constexpr int kSliceMs = 5;

struct Shared {
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    bool result = false;
};
} // namespace

std::optional<bool> RunAside(std::function<bool()> work, const std::function<bool()>& giveUp)
{
    auto shared = std::make_shared<Shared>();
    std::thread([shared, work = std::move(work)] {
        const bool result = work();
        std::lock_guard<std::mutex> hold(shared->lock);
        shared->result = result;
        shared->done = true;
        shared->finished.notify_all();
    }).detach();
    for (;;) {
        {
            std::unique_lock<std::mutex> hold(shared->lock);
            // Without a window there are no events to run: the wait is on the work alone.
            shared->finished.wait_for(hold, std::chrono::milliseconds(HasEventLoop() ? 0 : kSliceMs),
                                      [&] { return shared->done; });
            if (shared->done)
                return shared->result;
        }
        WaitForEvents(kSliceMs);
        if (giveUp && giveUp())
            return std::nullopt;
    }
}

} // namespace tollivex::platform
