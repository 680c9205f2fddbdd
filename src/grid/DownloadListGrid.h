#pragma once
// The download list table as the grid control reads it: its columns, and
// its rows behind the grid's table contract.

#include "platform/gui/GridControl.h"

#include <memory>

namespace tollivex {

class DownloadListTable;

/// ID, Video_URL, FileName, Status and FileSize, the number, address, name
/// and status among them.
const platform::GridColumns& DownloadGridColumns();

/// The table for the grid to show; none for none.
std::shared_ptr<const platform::GridTable> GridTableOf(std::shared_ptr<const DownloadListTable> table);

} // namespace tollivex
