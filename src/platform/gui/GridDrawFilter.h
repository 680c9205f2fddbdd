#pragma once
// The grid's draw-filter contract: before the grid paints one of its elements
// it asks the installed filter, which may paint the element itself and cancel
// the grid's own drawing of a phase. Window code only (Qt types).

#include "platform/gui/GridControl.h"

#include <QColor>
#include <QCursor>
#include <QRect>

#include <optional>
#include <string>

class QPainter;

namespace tollivex::platform {

/// Element type of one cell.
inline constexpr int kGridCellElement = 6000;

/// What the filter gets for one element being drawn.
struct GridDrawContext {
    QPainter* painter = nullptr; // the device context, already clipped to the element
    int elementType = kGridCellElement;
    QRect rect; // the element's rectangle in painter coordinates
    // For cell elements:
    GridCell cell;
    std::string columnKey;
    std::string value;
    QColor backColor; // the cell's resolved appearance
    QColor foreColor;
    bool cellSelected = false;
    bool columnSelected = false;
    bool rowSelected = false;

    bool IsCellElement() const { return elementType == kGridCellElement; }
    /// The cell itself, its column or its row is selected.
    bool AnySelected() const { return cellSelected || columnSelected || rowSelected; }
};

/// The element under the mouse when the grid chooses a cursor.
struct GridUIElement {
    int elementType = kGridCellElement;
    QRect rect;
    GridCell cell;
};

class GridDrawFilter {
public:
    virtual ~GridDrawFilter() = default;
    virtual void AfterDraw(GridDrawContext& Draw) = 0;
    virtual void BeforeDraw(GridDrawContext& Draw, bool& Cancel) = 0;
    virtual void BeforeDrawBackground(GridDrawContext& Draw, bool& Cancel) = 0;
    virtual void BeforeDrawBorders(GridDrawContext& Draw, bool& Cancel) = 0;
    virtual void BeforeDrawForeground(GridDrawContext& Draw, bool& Cancel) = 0;
    /// Setting hCursor replaces the cursor the grid would show over the element.
    virtual void BeforeSetCursor(const GridUIElement& UIElement, bool& ResizeCursor,
                                 std::optional<QCursor>& hCursor) = 0;
};

} // namespace tollivex::platform
