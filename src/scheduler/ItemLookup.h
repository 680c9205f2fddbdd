#pragma once
// Finding the run's item again after the user edited the list meanwhile.

#include <string>

namespace tollivex {

/// Index of the queued item with exactly this address, or -1.
int FindQueuedAddress(const std::string& pageAddress);

} // namespace tollivex
