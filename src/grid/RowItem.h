#pragma once
// From a grid row to the queue item it shows.

#include "platform/gui/GridControl.h"

#include <optional>

namespace tollivex {

/// The 16-bit ID shown in the row's ID cell; none when it is not one.
std::optional<std::int16_t> RowId(const platform::GridControl& grid, const platform::GridRow& row);

/// Index of the queued item the row shows: its ID, provided the item at that
/// index still has the address the row shows. -1 when the row no longer
/// matches the queue, so an edit never lands on an item the user did not pick.
int QueueIndexOfRow(const platform::GridControl& grid, const platform::GridRow& row);

} // namespace tollivex
