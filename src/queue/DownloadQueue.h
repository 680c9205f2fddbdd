#pragma once
// The program-wide download queue and the operations on the list itself.
// Items are addressed by index = ID - 1; every operation keeps ID = index + 1.

#include "queue/DownloadItem.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tollivex {

/// Display order; the single source of truth for the grid. Starts empty, never saved.
extern std::vector<DownloadItem> DownloadQueue;

/// The largest number of items: IDs are 16-bit.
inline constexpr int kMaxQueueItems = 32767;

/// Upper bound of the queue, -1 when it is empty.
int QueueUpperBound();

/// True when the queue has no items.
bool IsListEmpty();

/// Appends an item unless an item with exactly this address is queued already.
/// An empty status becomes "Waiting" and an empty size "????"; both are
/// written back to the caller's variables. True when the address is in the
/// queue afterwards; false when the queue is full (32,767 items) and nothing
/// was added.
bool AddItem(const std::string& pageAddress, const std::string& fileName, std::string& status, std::string& size);

/// Removes the item with that ID; the items behind it move up and are renumbered.
void RemoveItem(std::int16_t id);

/// Swaps the item with that ID and its predecessor (the first item stays).
void MoveItemUp(std::int16_t id);

/// Swaps the item with that ID and its successor (the last item stays).
void MoveItemDown(std::int16_t id);

/// Overwrites each field whose argument is not empty. No rebuild.
void UpdateItem(std::int16_t id, const std::string& pageAddress, const std::string& fileName, const std::string& status,
                const std::string& size);

/// Index of the item with that ID, or -1.
int IndexOfId(std::int16_t id);

/// Index of the item with exactly this page address (addresses are unique in
/// the queue), or -1. A run finds its item again by it after the user moved or
/// removed items meanwhile.
int IndexOfAddress(const std::string& pageAddress);

} // namespace tollivex
