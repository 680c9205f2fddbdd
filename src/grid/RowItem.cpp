#include "grid/RowItem.h"

#include "queue/DownloadListTable.h"
#include "queue/DownloadQueue.h"
#include "queue/TextHelpers.h"

#include <cstdlib>

namespace tollivex {

std::optional<std::int16_t> RowId(const platform::GridControl& grid, const platform::GridRow& row)
{
    const std::string text = grid.CellText(platform::GridCell{row, colID});
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || value < INT16_MIN || value > INT16_MAX)
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

int QueueIndexOfRow(const platform::GridControl& grid, const platform::GridRow& row)
{
    const auto id = RowId(grid, row);
    if (!id)
        return -1;
    const int index = IndexOfId(*id);
    if (index < 0)
        return -1;
    const std::string& address = DownloadQueue[static_cast<size_t>(index)].Video_URL;
    const std::string shown = grid.CellText(platform::GridCell{row, colVideoURL});
    // The table cuts the address by characters, so the comparison counts them too.
    const bool same = shown == FirstCharacters(address, kTableUrlLength);
    return same ? index : -1;
}

} // namespace tollivex
