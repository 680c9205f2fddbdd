#pragma once
// The main window's draw filter for the grid: a status that reads as a number
// is painted as a progress bar with its percentage; everything else the grid
// draws itself.

#include "platform/gui/GridDrawFilter.h"

#include <QColor>

namespace tollivex {

class StatusCellDrawFilter final : public platform::GridDrawFilter {
public:
    void AfterDraw(platform::GridDrawContext& Draw) override;
    void BeforeDraw(platform::GridDrawContext& Draw, bool& Cancel) override;
    void BeforeDrawBackground(platform::GridDrawContext& Draw, bool& Cancel) override;
    void BeforeDrawBorders(platform::GridDrawContext& Draw, bool& Cancel) override;
    void BeforeDrawForeground(platform::GridDrawContext& Draw, bool& Cancel) override;
    void BeforeSetCursor(const platform::GridUIElement& UIElement, bool& ResizeCursor,
                         std::optional<QCursor>& hCursor) override;

    /// Paints the cell as a bar `percentage` (held to 0..100) of its width in
    /// `barColor` over `backColor`, the percentage centred on top; a selected
    /// cell takes its appearance's colours and a full bar. The text shows in
    /// the background colour over the bar and in the bar colour beside it.
    static void DrawProgressCell(platform::GridDrawContext& Draw, long percentage, QColor barColor, QColor backColor,
                                 bool showText);

    /// A cell of the status column whose value reads as a number.
    static bool IsProgressCell(const platform::GridDrawContext& Draw);
};

} // namespace tollivex
