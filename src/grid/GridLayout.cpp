// The grid's columns, captions, widths, editing rights and colours, and the
// step that hooks the status drawing in whenever the grid lays itself out.

#include "grid/DownloadGridView.h"

#include "grid/DownloadListGrid.h"
#include "grid/StatusCellDrawFilter.h"
#include "queue/DownloadListTable.h"

#include <array>

namespace tollivex {

namespace {

using platform::GridAppearance;
using platform::GridColumnOption;
using platform::GridOption;
using platform::Rgb;

constexpr std::array<const char*, kDownloadListColumns> kCaptions{" ", "Video URL", "Local File Name",
                                                                  "Download Status", "File Size"};
constexpr std::array<float, kDownloadListColumns> kWidthsTwips{300.0f, 3800.0f, 1800.0f, 1700.0f, 750.0f};

// Each setting stands on its own: one that fails leaves the others applied.
template <typename F>
void Attempt(F&& setting)
{
    try {
        setting();
    } catch (...) {
    }
}

} // namespace

bool DownloadGridView::FormatDownloadGrid(bool bFirstTime)
{
    platform::GridControl& grid = grid_;
    if (bGridFormatted) {
        try {
            grid.SetDataSource(GridTableOf(rsDownloadList));
        } catch (...) {
            bGridFormatted = false; // the next call lays the grid out in full
        }
        return true;
    }

    Attempt([&] { grid.SetCaption(""); });
    Attempt([&] { grid.SetGridOption(GridOption::HeaderSelectsColumn, false); });
    Attempt([&] { grid.SetDataSource(GridTableOf(rsDownloadList)); });
    for (int c = 0; c < kDownloadListColumns; ++c)
        Attempt([&] { grid.SetColumnEditable(c, c == colFileName); });
    // Long addresses and names are cut by their columns: the tip shows them whole.
    Attempt([&] { grid.SetColumnOption(colVideoURL, GridColumnOption::FullTextTip, true); });
    Attempt([&] { grid.SetColumnOption(colFileName, GridColumnOption::FullTextTip, true); });
    for (int c = 0; c < kDownloadListColumns; ++c)
        Attempt([&] { grid.SetColumnCaption(c, kCaptions[static_cast<size_t>(c)]); });
    Attempt([&] { grid.SetGridOption(GridOption::RowSelectors, true); });
    for (int c = 0; c < kDownloadListColumns; ++c)
        Attempt([&] { grid.SetColumnWidthTwips(c, kWidthsTwips[static_cast<size_t>(c)]); });

    Attempt([&] {
        grid.SetAppearanceColors(GridAppearance::Grid, Rgb{234, 233, 232}, std::nullopt, Rgb{39, 104, 146});
    });
    Attempt([&] {
        grid.SetAppearanceColors(GridAppearance::Group1, Rgb{255, 199, 0}, Rgb{255, 255, 255}, std::nullopt);
    });
    Attempt([&] {
        grid.SetAppearanceColors(GridAppearance::Group2, Rgb{210, 124, 113}, Rgb{255, 255, 255}, std::nullopt);
    });
    Attempt([&] { grid.SetAppearanceColors(GridAppearance::Group3, Rgb{255, 255, 255}, std::nullopt, std::nullopt); });
    Attempt([&] { grid.SetAppearanceColors(GridAppearance::Group4, Rgb{255, 199, 0}, std::nullopt, std::nullopt); });
    Attempt([&] { grid.SetAppearanceColors(GridAppearance::Group5, Rgb{255, 199, 0}, std::nullopt, std::nullopt); });

    if (!bFirstTime)
        bGridFormatted = true;
    return true;
}

void DownloadGridView::ShowDownloadGrid()
{
    grid_.SetVisible(true);
    grid_.BringToFront();
}

void DownloadGridView::DownloadGrid_InitializeLayout()
{
    platform::GridControl& grid = grid_;
    Attempt([&] { grid.SetColumnOption(colID, GridColumnOption::Centered, true); });
    Attempt([&] { grid.SetColumnEditable(colID, false); });
    Attempt([&] { grid.SetGridOption(GridOption::HeaderSelectsColumn, false); });
    if (!drawFilter_)
        drawFilter_ = std::make_unique<StatusCellDrawFilter>();
    grid.SetDrawFilter(drawFilter_.get());
}

} // namespace tollivex
