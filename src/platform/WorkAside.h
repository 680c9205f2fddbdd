#pragma once
// Slow work that must not hold the window: it runs on a thread of its own
// while the window's events keep running on theirs.

#include <functional>
#include <optional>

namespace tollivex::platform {

/// Runs `work` on a thread of its own and lets the window's events run until
/// it has finished; returns its result. Nothing when `giveUp` (asked after
/// each turn of the events) answers true first: the work then finishes
/// unobserved, so it must own everything it uses.
std::optional<bool> RunAside(std::function<bool()> work, const std::function<bool()>& giveUp = {});

} // namespace tollivex::platform
