#include "grid/RowMenu.h"

#include "queue/DownloadItem.h"

namespace tollivex {

RowMenuState RowMenuFor(const std::vector<RowFacts>& rows)
{
    RowMenuState state;
    for (const RowFacts& row : rows) {
        const bool finished = row.status == status::kComplete && row.fileExists;
        state.open = state.open || finished;
        state.openContainingFolder = state.openContainingFolder || finished;
    }
    state.copyPageAddress = !rows.empty();
    state.remove = !rows.empty();
    return state;
}

} // namespace tollivex
