#pragma once
// Failures never end the program: every handler that returns to the event
// loop runs through Guarded, which swallows what escapes it.

#include <exception>
#include <utility>

namespace tollivex {

template <typename Fn>
void Guarded(Fn&& fn) noexcept
{
    try {
        std::forward<Fn>(fn)();
    } catch (...) {
        // The handler's own failure rules already ran; carry on with the next event.
    }
}

} // namespace tollivex
